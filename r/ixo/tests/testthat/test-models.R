# A fitted model stands for its residuals, as residuals() gives them.

test_that("models are tested on their residuals", {
  set.seed(9)
  t <- 1:300
  y <- 0.01 * t + rnorm(300)
  series <- arima.sim(list(ar = 0.5), n = 300)
  fits <- list(
    lm = list(fit = lm(y ~ t), residuals = function(f) residuals(f)),
    Arima = list(fit = arima(series, order = c(1, 0, 0)), residuals = function(f) residuals(f)))
  if (requireNamespace("tseries", quietly = TRUE)) {
    g <- tseries::garch(rnorm(300), order = c(1, 1), trace = FALSE)
    # Its first standardized residual is NA by construction and is left out.
    fits$garch <- list(fit = g, residuals = function(f) residuals(f)[-1])
  }
  for (name in names(fits)) {
    fit <- fits[[name]]$fit
    r <- as.double(fits[[name]]$residuals(fit))
    expect_identical(ixo_test(fit, m = 4, reps = 30)$table,
                     ixo_test(r, m = 4, reps = 30)$table, label = name)
    expect_identical(bds_test(fit, m = 3, reps = 30)[c("statistic", "p.permutation")],
                     bds_test(r, m = 3, reps = 30)[c("statistic", "p.permutation")],
                     label = name)
    expect_identical(ixo_curves(fit, m = 3)$fits, ixo_curves(r, m = 3)$fits, label = name)
    expect_match(ixo_test(fit, m = 3, reps = 0)$data.name, "^residuals of fit", label = name)
  }
})

test_that("missing residuals are named, not dropped", {
  d <- data.frame(t = 1:40, y = c(rnorm(9), NA, rnorm(30)))
  fit <- lm(y ~ t, data = d, na.action = na.exclude)
  expect_error(ixo_test(fit, m = 3), "x\\[10\\] is NA")
})
