# The series a fitted model stands for: its residuals, as residuals() gives
# them. A GARCH fit's are standardized, and its first max(p, q) are NA by
# construction (no conditional variance yet), so those leading NAs go; any
# other missing value stays, for the series check to name.

ixo_model_residuals <- function(model) {
  r <- stats::residuals(model)
  if (inherits(model, "garch")) {
    missing <- cumsum(!is.na(r)) == 0
    r <- r[!missing]
  }
  r
}

ixo_model_name <- function(expr) {
  paste("residuals of", paste(deparse(expr, width.cutoff = 60L), collapse = " "))
}
