# ixo_test(): the Ixo values of dimensions 2..m with their tabulated verdicts,
# permutation p-values and those adjusted over the dimensions, and the overall
# p-value: the rows of `ixo_cli ixo` and its row "all".

ixo_test <- function(x, ...) UseMethod("ixo_test")


ixo_test.default <- function(x, m = 10, eps = c(0.60, 1.90), subint = 40, cm_limit = 50,
                             reps = 999, seed = 20040105, threads = NULL, sequential = 0, ...) {
  ixo_run_test(x, deparse1(substitute(x)), m = m, eps = eps, subint = subint,
               cm_limit = cm_limit, reps = reps, seed = seed, threads = threads,
               sequential = sequential, ...)
}

ixo_test.lm <- function(x, ...) {
  ixo_run_test(ixo_model_residuals(x), ixo_model_name(substitute(x)), ...)
}
ixo_test.Arima <- ixo_test.lm
ixo_test.garch <- ixo_test.lm

ixo_run_test <- function(x, data.name, m = 10, eps = c(0.60, 1.90), subint = 40,
                         cm_limit = 50, reps = 999, seed = 20040105, threads = NULL,
                         sequential = 0, ...) {
  fun <- "ixo_test"
  ixo_no_extra(list(...), fun)
  series <- ixo_series(x, fun)
  settings <- ixo_settings(m, eps, subint, cm_limit, fun)
  reps <- ixo_whole(reps, "reps", fun, 0, 1e7)
  seed <- ixo_seed(seed, fun)
  threads <- ixo_threads(threads, fun)
  sequential <- ixo_whole(sequential, "sequential", fun, 0, 100000)
  rows <- ixo_answer(.Call(ixo_c_test, series, settings, reps, seed, threads, sequential), fun)
  table <- data.frame(m = rows$m, ixo = rows$ixo, points = rows$points, p.value = rows$p.value,
                      class = rows$class, verdict = rows$verdict, p.adjusted = rows$p.adjusted,
                      stringsAsFactors = FALSE)
  named <- function(values) stats::setNames(values, paste0("m=", table$m))
  structure(list(table = table, statistic = named(table$ixo), p.value = named(table$p.value),
                 p.adjusted = named(table$p.adjusted), p.overall = rows$p.overall,
                 verdict.overall = rows$verdict.overall, drawn = rows$drawn,
                 parameter = list(m = settings$m, eps = c(settings$eps_low, settings$eps_high),
                                  subint = settings$subint, cm_limit = settings$cm_limit,
                                  reps = reps, seed = seed, sequential = sequential),
                 n = length(series),
                 method = "Ixo test of the i.i.d. hypothesis (permutation p-values)",
                 data.name = data.name),
            class = "ixo_test")
}

print.ixo_test <- function(x, digits = getOption("digits"), ...) {
  p <- x$parameter
  cat("\n\t", x$method, "\n\n", sep = "")
  cat("data:  ", x$data.name, " (n = ", x$n, ")\n", sep = "")
  cat("eps = ", format(p$eps[1]), " to ", format(p$eps[2]), " sd, ", p$subint,
      " intervals, Cm limit ", p$cm_limit, ", ", p$reps, " permutations (seed ",
      format(p$seed, scientific = FALSE), ")", ixo_sequential_note(p, x$drawn), "\n\n", sep = "")
  table <- x$table
  pvalues <- function(values) {
    if (all(is.na(values))) "-" else format.pval(values, digits = max(1L, digits - 3L))
  }
  shown <- data.frame(m = table$m, ixo = format(table$ixo, digits = digits),
                      points = table$points, "p-value" = pvalues(table$p.value),
                      adjusted = pvalues(table$p.adjusted),
                      verdict = paste0(table$verdict, " (", table$class, ")"),
                      check.names = FALSE, stringsAsFactors = FALSE)
  names(shown)[6] <- "verdict (table of n)"
  print(shown, row.names = FALSE, right = TRUE)
  if (!is.na(x$p.overall)) {
    cat("\nall dimensions: overall p-value ", pvalues(x$p.overall), ", ", x$verdict.overall,
        "\n", sep = "")
  }
  cat("\n")
  invisible(x)
}

as.data.frame.ixo_test <- function(x, ...) x$table

# ", sequential rule h = H: D drawn" where the rule was asked for, else "".
ixo_sequential_note <- function(parameter, drawn) {
  if (parameter$sequential == 0 || parameter$reps == 0) return("")
  paste0(", sequential rule h = ", parameter$sequential, ": ", drawn, " drawn")
}
