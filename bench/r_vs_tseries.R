# The R package against tseries in one R session, on the same series:
# bds_test(x, m = 10, reps = 0) beside tseries::bds.test(x, m = 10) (four
# distances each) at n = 1000, 2500 and 10000, and ixo_test(x, reps = 999) at
# n = 500, 1000 and 2500 beside ixo_cli ixo on the same series (IXO_CLI, default
# build/bin/ixo_cli, when it is there). Medians of RUNS runs (default 5), the
# calls of a row in turn run by run; wall seconds (and CPU seconds). Prints
# Markdown tables with the date, the machine and the load.
#
#   /usr/bin/Rscript bench/r_vs_tseries.R [R library holding ixo, default build/r-lib]

args <- commandArgs(trailingOnly = TRUE)
library_path <- if (length(args) >= 1) args[1] else "build/r-lib"
runs <- as.integer(Sys.getenv("RUNS", "5"))
suppressPackageStartupMessages({
  library(ixo, lib.loc = library_path)
  library(tseries)
})

load_average <- function() {
  text <- tryCatch(readLines("/proc/loadavg", n = 1), error = function(e) "?")
  strsplit(text, " ")[[1]][1]
}

# c(wall, cpu) medians over `runs` runs of each function in `calls`, in
# turn; a quick call is repeated within a run to about 0.2 s (the clock ticks
# in milliseconds) and timed per call.
time_in_turn <- function(calls) {
  repeats <- vapply(calls, function(call) {
    once <- system.time(call())[["elapsed"]]
    max(1, ceiling(0.2 / max(once, 1e-4)))
  }, numeric(1))
  wall <- cpu <- matrix(NA_real_, runs, length(calls))
  for (run in seq_len(runs)) {
    for (j in seq_along(calls)) {
      t <- system.time(for (k in seq_len(repeats[j])) calls[[j]]())
      wall[run, j] <- t[["elapsed"]] / repeats[j]
      # The session's own CPU time and that of the programs it ran.
      cpu[run, j] <- sum(t[c("user.self", "sys.self", "user.child", "sys.child")], na.rm = TRUE) /
        repeats[j]
    }
  }
  list(wall = apply(wall, 2, stats::median), cpu = apply(cpu, 2, stats::median))
}

seconds <- function(s) formatC(s, digits = 3, format = "fg", flag = "#")

cat("Date:", format(Sys.time(), "%Y-%m-%d %H:%M %Z", tz = "UTC"), "\n")
cpu <- grep("^model name", tryCatch(readLines("/proc/cpuinfo"), error = function(e) ""),
            value = TRUE)
cat("Machine:", length(cpu), "cores,", sub(".*: ", "", cpu[1]), "|", R.version.string, "\n")
cat("Load average before:", load_average(), "| medians of", runs, "runs\n\n")

cat("| call | n | ixo: wall s (CPU s) | tseries: wall s (CPU s) | tseries / ixo: wall (CPU) |\n")
cat("|---|---|---|---|---|\n")
set.seed(20261210)
for (n in c(1000, 2500, 10000)) {
  x <- rnorm(n)
  t <- time_in_turn(list(function() bds_test(x, m = 10, reps = 0),
                         function() tseries::bds.test(x, m = 10)))
  cat(sprintf("| BDS, m = 10, 4 distances | %d | %s (%s) | %s (%s) | %.0f× (%.0f×) |\n", n,
              seconds(t$wall[1]), seconds(t$cpu[1]), seconds(t$wall[2]), seconds(t$cpu[2]),
              t$wall[2] / t$wall[1], t$cpu[2] / t$cpu[1]))
}
cat("\n| call | n | ixo_test: wall s (CPU s) | ixo_cli ixo, same series: wall s (CPU s) |\n")
cat("|---|---|---|---|\n")
cli <- Sys.getenv("IXO_CLI", "build/bin/ixo_cli")
for (n in c(500, 1000, 2500)) {
  x <- rnorm(n)
  file <- tempfile(fileext = ".txt")
  writeLines(sprintf("%.17g", x), file)
  calls <- list(function() ixo_test(x, reps = 999))
  if (file.exists(cli)) {
    calls[[2]] <- function() system2(cli, c("ixo", file, "--reps", "999"), stdout = FALSE)
  }
  t <- time_in_turn(calls)
  cli_cell <- if (length(calls) == 2) sprintf("%s (%s)", seconds(t$wall[2]), seconds(t$cpu[2])) else "-"
  cat(sprintf("| ixo_test, reps = 999 | %d | %s (%s) | %s |\n", n, seconds(t$wall[1]),
              seconds(t$cpu[1]), cli_cell))
  unlink(file)
}
cat("\nLoad average after:", load_average(), "\n")
