# ixo_critical(): simulated percentiles of the Ixo value of n i.i.d. normal
# values, the rows of `ixo_cli critical`.

ixo_critical <- function(n, m = 10, eps = c(0.60, 1.90), subint = 40, cm_limit = 50,
                         reps = 20000, seed = 20040105, threads = NULL) {
  fun <- "ixo_critical"
  n <- ixo_whole(n, "n", fun, 3, 1e7)
  settings <- ixo_settings(m, eps, subint, cm_limit, fun)
  reps <- ixo_whole(reps, "reps", fun, 1, 1e7)
  seed <- ixo_seed(seed, fun)
  threads <- ixo_threads(threads, fun)
  answer <- ixo_answer(.Call(ixo_c_critical, n, settings, reps, seed, threads), fun)
  values <- answer$values
  colnames(values) <- paste0("p", as.character(answer$percent))
  data.frame(n = rep(n, length(answer$m)), m = answer$m, reps = rep(reps, length(answer$m)),
             values, undefined = answer$undefined, check.names = FALSE)
}
