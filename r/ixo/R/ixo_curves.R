# ixo_curves(): the log-log picture behind the Ixo values, the points and
# fitted lines of `ixo_cli curves`, and its plot.

ixo_curves <- function(x, ...) UseMethod("ixo_curves")

ixo_curves.default <- function(x, m = 10, eps = c(0.60, 1.90), subint = 40, cm_limit = 50,
                               ...) {
  ixo_run_curves(x, deparse1(substitute(x)), m = m, eps = eps, subint = subint,
                 cm_limit = cm_limit, ...)
}

ixo_curves.lm <- function(x, ...) {
  ixo_run_curves(ixo_model_residuals(x), ixo_model_name(substitute(x)), ...)
}
ixo_curves.Arima <- ixo_curves.lm
ixo_curves.garch <- ixo_curves.lm

ixo_run_curves <- function(x, data.name, m = 10, eps = c(0.60, 1.90), subint = 40,
                           cm_limit = 50, ...) {
  fun <- "ixo_curves"
  ixo_no_extra(list(...), fun)
  series <- ixo_series(x, fun)
  settings <- ixo_settings(m, eps, subint, cm_limit, fun)
  answer <- ixo_answer(.Call(ixo_c_curves, series, settings), fun)
  structure(list(points = as.data.frame(answer$points), fits = as.data.frame(answer$fits),
                 spread = answer$spread,
                 parameter = list(m = settings$m, eps = c(settings$eps_low, settings$eps_high),
                                  subint = settings$subint, cm_limit = settings$cm_limit),
                 data.name = data.name),
            class = "ixo_curves")
}

print.ixo_curves <- function(x, ...) {
  cat("Correlation integrals of ", x$data.name, ": ", nrow(x$fits), " dimensions, ",
      x$parameter$subint + 1, " grid points each\n\n", sep = "")
  print(x$fits, row.names = FALSE)
  invisible(x)
}

plot.ixo_curves <- function(x, col = NULL, main = NULL, ...) {
  points <- x$points
  fits <- x$fits
  dims <- fits$m
  if (is.null(col)) col <- grDevices::hcl.colors(length(dims), "Dark 3")
  col <- rep_len(col, length(dims))
  if (is.null(main)) main <- paste("Correlation integrals of", x$data.name)
  shown <- points[is.finite(points$y), ]
  graphics::plot(shown$x, shown$y, type = "n", xlab = "ln(eps / spread)", ylab = "ln(pairs)",
                 main = main, ...)
  for (i in seq_along(dims)) {
    own <- shown[shown$m == dims[i], ]
    # Used points filled, the others (too few close pairs) hollow.
    graphics::points(own$x, own$y, col = col[i], pch = ifelse(own$used, 19, 1))
    if (fits$points[i] >= 2) {
      used <- own[own$used, ]
      ends <- range(used$x)
      graphics::lines(ends, fits$intercept[i] + fits$slope[i] * ends, col = col[i])
    }
  }
  graphics::legend("topleft", legend = paste0("m = ", dims, ": ", format(fits$slope, digits = 3)),
                   col = col, pch = 19, lty = 1, bty = "n", cex = 0.8)
  invisible(x)
}
