# bds_test(): the BDS statistic for dimensions 2..m at each distance, shaped
# like tseries::bds.test's answer, with permutation p-values besides, those
# adjusted over every m and distance, and the family's overall p-value.

bds_test <- function(x, ...) UseMethod("bds_test")

bds_test.default <- function(x, m = 3, eps = seq(0.5 * sd(x), 2 * sd(x), length.out = 4),
                             reps = 999, seed = 20040105, threads = NULL, sequential = 0,
                             ...) {
  fun <- "bds_test"
  data.name <- deparse1(substitute(x))
  series <- ixo_series(x, fun)
  # eps is evaluated only now, after the series is known to be numbers.
  ixo_run_bds(series, data.name, m = m, eps = eps, reps = reps, seed = seed, threads = threads,
              sequential = sequential, ...)
}

bds_test.lm <- function(x, m = 3, eps = NULL, ...) {
  fun <- "bds_test"
  series <- ixo_series(ixo_model_residuals(x), fun)
  if (is.null(eps)) eps <- seq(0.5 * stats::sd(series), 2 * stats::sd(series), length.out = 4)
  ixo_run_bds(series, ixo_model_name(substitute(x)), m = m, eps = eps, ...)
}
bds_test.Arima <- bds_test.lm
bds_test.garch <- bds_test.lm

ixo_run_bds <- function(series, data.name, m, eps, reps = 999, seed = 20040105,
                        threads = NULL, sequential = 0, ...) {
  fun <- "bds_test"
  ixo_no_extra(list(...), fun)
  m <- ixo_whole(m, "m", fun)
  eps <- ixo_distances(eps, fun)
  reps <- ixo_whole(reps, "reps", fun, 0, 1e7)
  seed <- ixo_seed(seed, fun)
  threads <- ixo_threads(threads, fun)
  sequential <- ixo_whole(sequential, "sequential", fun, 0, 100000)
  rows <- ixo_answer(.Call(ixo_c_bds, series, m, eps, reps, seed, threads, sequential), fun)
  # Rows come dimension by dimension, each with every distance in order.
  shape <- function(values) {
    matrix(values, nrow = m - 1, ncol = length(eps), byrow = TRUE,
           dimnames = list(2:m, eps))
  }
  structure(list(statistic = shape(rows$bds), p.value = shape(rows$p.normal),
                 p.permutation = if (reps > 0) shape(rows$p.permutation),
                 p.adjusted = if (reps > 0) shape(rows$p.adjusted),
                 p.overall = rows$p.overall, drawn = rows$drawn,
                 method = "BDS Test", data.name = data.name,
                 parameter = list(m = 2:m, eps = eps, reps = reps, seed = seed,
                                  sequential = sequential)),
            class = c("ixo_bds_test", "bdstest"))
}

print.ixo_bds_test <- function(x, digits = 4, ...) {
  # The block tseries prints, and the permutation p-values after it.
  bracket <- function(table) {
    dimnames(table) <- list(paste("[", round(as.numeric(rownames(table)), digits), "]"),
                            paste("[", round(as.numeric(colnames(table)), digits), "]"))
    print(round(table, digits))
    cat("\n")
  }
  cat("\n\t", x$method, " (Ixo)", "\n\n", sep = "")
  cat("data: ", x$data.name, "\n\n")
  cat("Embedding dimension = ", format(round(x$parameter$m, digits)), sep = " ", "\n\n")
  cat("Epsilon for close points = ", format(round(x$parameter$eps, digits)), sep = " ", "\n\n")
  cat("Standard Normal = \n")
  bracket(x$statistic)
  cat("p-value = \n")
  bracket(x$p.value)
  if (!is.null(x$p.permutation)) {
    cat("p-value of ", x$parameter$reps, " permutations (seed ",
        format(x$parameter$seed, scientific = FALSE), ixo_sequential_note(x$parameter, x$drawn),
        ") = \n", sep = "")
    bracket(x$p.permutation)
    cat("p-value adjusted over every dimension and epsilon = \n")
    bracket(x$p.adjusted)
    if (!is.na(x$p.overall)) cat("overall p-value = ", format(round(x$p.overall, digits)), "\n\n")
  }
  cat("\n")
  invisible(x)
}
