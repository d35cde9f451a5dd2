# The printouts show what a result holds, missing values included.

test_that("print methods show each result and return it", {
  set.seed(8)
  x <- rnorm(500)
  cases <- list(
    list(ixo_test(x, m = 3, reps = 19), c("Ixo test", "data:  x \\(n = 500\\)", "do not reject")),
    list(ixo_test(x, m = 3, reps = 0), c(" - ", "0 permutations")),
    list(ixo_test(x, m = 12, reps = 0), "unknown"),
    list(bds_test(x, m = 3, reps = 19), c("BDS Test", "Standard Normal", "19 permutations")),
    list(bds_test(x, m = 2, reps = 0), "p-value = "),
    list(ixo_curves(x, m = 3), c("2 dimensions, 41 grid points", "slope")))
  for (case in cases) {
    shown <- paste(utils::capture.output(back <- print(case[[1]])), collapse = "\n")
    for (pattern in case[[2]]) expect_match(shown, pattern, label = pattern)
    expect_identical(back, case[[1]])
  }
})

test_that("the curves plot draws on a null device", {
  pdf(NULL)
  on.exit(dev.off())
  expect_silent(plot(ixo_curves(rnorm(200), m = 4)))
})
