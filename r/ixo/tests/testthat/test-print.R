# The printouts show what a result holds, missing values included.

test_that("print methods show each result and return it", {
  set.seed(8)
  x <- rnorm(500)
  cases <- list(
    list(ixo_test(x, m = 3, reps = 19), c("Ixo test", "data:  x \\(n = 500\\)", "do not reject",
                                          "adjusted", "all dimensions: overall p-value 0\\.")),
    list(ixo_test(x, m = 3, reps = 999, sequential = 2), "sequential rule h = 2: [0-9]+ drawn"),
    list(ixo_test(x, m = 3, reps = 0), c(" - ", "0 permutations")),
    list(ixo_test(x, m = 12, reps = 0), "unknown"),
    list(bds_test(x, m = 3, reps = 19), c("BDS Test", "Standard Normal", "19 permutations",
                                          "adjusted over every", "overall p-value = ")),
    list(bds_test(x, m = 2, reps = 0), "p-value = "),
    list(ixo_curves(x, m = 3), c("2 dimensions, 41 grid points", "slope")))
  for (case in cases) {
    shown <- paste(utils::capture.output(back <- print(case[[1]])), collapse = "\n")
    for (pattern in case[[2]]) expect_match(shown, pattern, label = pattern)
    expect_identical(back, case[[1]])
  }
  shown <- utils::capture.output(print(ixo_test(x, m = 3, reps = 0)))
  expect_false(any(grepl("overall", shown)))
})

test_that("adjusted p-values are never below the raw ones and the overall is their smallest", {
  set.seed(3)
  x <- rnorm(300)
  cases <- list(
    list(label = "ixo", r = ixo_test(x, m = 6, reps = 99)),
    list(label = "ixo sequential", r = ixo_test(x, m = 6, reps = 999, sequential = 3)),
    list(label = "bds", r = bds_test(x, m = 4, reps = 99, seed = 4)))
  for (case in cases) {
    r <- case$r
    raw <- if (is.null(r$p.permutation)) r$p.value else r$p.permutation
    expect_identical(is.na(raw), is.na(r$p.adjusted), label = case$label)
    expect_true(all(r$p.adjusted >= raw & r$p.adjusted <= 1, na.rm = TRUE), label = case$label)
    expect_identical(r$p.overall, min(r$p.adjusted, na.rm = TRUE), label = case$label)
    expect_true(r$drawn > 0 && r$drawn <= r$parameter$reps, label = case$label)
  }
  none <- ixo_test(x, m = 3, reps = 0)
  expect_true(is.na(none$p.overall) && none$verdict.overall == "unknown" && none$drawn == 0L)
})

test_that("the curves plot draws on a null device", {
  pdf(NULL)
  on.exit(dev.off())
  expect_silent(plot(ixo_curves(rnorm(200), m = 4)))
})
