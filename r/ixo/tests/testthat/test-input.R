# Bad input is an R error that says what is wrong; the session goes on.

test_that("every bad input is an error naming the problem", {
  x <- as.double(1:50 %% 7)
  bad <- list(
    list(quote(ixo_test(c(1, 2, NA, 4))), "x\\[3\\] is NA"),
    list(quote(ixo_test(c(1, NaN, NA))), "x\\[2\\] is NaN \\(2 values"),
    list(quote(ixo_test(c(1, 2, 3, -Inf))), "x\\[4\\] is -Inf"),
    list(quote(ixo_test(ts(c(0, 1, Inf)))), "x\\[3\\] is Inf"),
    list(quote(ixo_test(letters)), "numeric vector .* not a character vector"),
    list(quote(ixo_test(1i + 1:20)), "not a complex vector"),
    list(quote(ixo_test(matrix(x, 25))), "not a matrix"),
    list(quote(ixo_test(ts(matrix(x, 25)))), "not a matrix"),
    list(quote(ixo_test(data.frame(x = x))), "not a data frame"),
    list(quote(ixo_test(factor(x))), "not a factor"),
    list(quote(ixo_test(as.list(x))), "not a list"),
    list(quote(ixo_test(x > 3)), "not a logical vector"),
    list(quote(ixo_test(Sys.Date() + 1:20)), "not .*class \"Date\""),
    list(quote(ixo_test(x, m = 20)), "m must lie between 2 and 16"),
    list(quote(ixo_test(x, m = 2.5)), "'m' must be one whole number, not 2.5"),
    list(quote(ixo_test(x, m = "3")), "'m' must be one whole number, not \"3\""),
    list(quote(ixo_test(x, m = NA)), "'m' must be one whole number"),
    list(quote(ixo_test(x, eps = 1)), "'eps' must be 2 \\(lowest, highest\\)"),
    list(quote(ixo_test(x, eps = c(-1, 1))), "'eps' must be .* positive"),
    list(quote(ixo_test(x, subint = 0)), "intervals must lie between 1 and"),
    list(quote(ixo_test(x, cm_limit = -1)), "Cm limit must not be negative"),
    list(quote(ixo_test(x, reps = -1)), "'reps' must be one whole number from 0 to 10000000, not -1"),
    list(quote(ixo_test(x, reps = 1.5)), "'reps' must be"),
    list(quote(ixo_test(x, reps = 9, sequential = -1)),
         "'sequential' must be one whole number from 0 to 100000, not -1"),
    list(quote(bds_test(x, reps = 9, sequential = 100001)), "'sequential' must be one whole number"),
    list(quote(ixo_test(x, seed = -1)), "'seed' must be one whole number from 0 to 2\\^53"),
    list(quote(ixo_test(x, seed = 2^60)), "'seed' must be"),
    list(quote(ixo_test(x, threads = 300)), "'threads' must be one whole number from 0 to 256"),
    list(quote(ixo_test(x, rps = 9)), "unknown argument: rps"),
    list(quote(ixo_test(rep(2, 30))), "a constant series \\(sd = 0\\)"),
    list(quote(ixo_test(1:5)), "m = 10 needs at least 11 values; there are 5"),
    list(quote(ixo_test(numeric(0))), "needs at least 11 values; there are 0"),
    list(quote(ixo_test(c(1e308, -1e308, 1e308, 0, 1, 2, 3, 4, 5, 6, 7, 8))),
         "too large for their mean and sd"),
    list(quote(bds_test(x, eps = c(0.5, -1))), "bds_test: 'eps' must be one or more positive"),
    list(quote(bds_test(x, eps = numeric(0))), "'eps' must be one or more"),
    list(quote(bds_test(x, m = 1)), "m must lie between 2 and 16"),
    list(quote(bds_test(c(1, NA, 3))), "bds_test: x\\[2\\] is NA"),
    list(quote(ixo_critical(2)), "'n' must be one whole number from 3 to 10000000"),
    list(quote(ixo_critical(100, reps = 0)), "'reps' must be one whole number from 1"),
    list(quote(ixo_critical(5, m = 6)), "m = 6 needs at least 7 values"),
    list(quote(ixo_curves(x, m = 17)), "ixo_curves: m must lie between 2 and 16"),
    list(quote(ixo_curves(letters)), "ixo_curves: x must be a numeric vector"),
    list(quote(ixo_read_series(tempfile())), "ixo_read_series: .*cannot"),
    list(quote(ixo_read_series(3)), "'file' must be one path"))
  for (case in bad) {
    expect_error(eval(case[[1]]), case[[2]], label = deparse(case[[1]]))
  }
  # The session is alive and the library still answers.
  expect_identical(nrow(ixo_test(as.double(1:50), m = 3, reps = 0)$table), 2L)
})

test_that("a file the reader refuses names the token and its line", {
  file <- tempfile()
  on.exit(unlink(file))
  writeLines(c("1.5", "2", "oops", "4"), file)
  expect_error(ixo_read_series(file), "oops.*line 3|line 3.*oops")
})
