# bds_test can stand in for tseries::bds.test.

test_that("bds_test has the shape and names of tseries::bds.test", {
  skip_if_not_installed("tseries")
  set.seed(3)
  x <- rnorm(250)
  for (m in c(2, 3, 6)) {
    theirs <- tseries::bds.test(x, m = m)
    ours <- bds_test(x, m = m, reps = 19)
    for (part in c("statistic", "p.value")) {
      expect_identical(dim(ours[[part]]), dim(theirs[[part]]), label = paste(part, m))
      expect_identical(dimnames(ours[[part]]), dimnames(theirs[[part]]), label = paste(part, m))
    }
    expect_identical(dimnames(ours$p.permutation), dimnames(theirs$statistic))
    expect_identical(ours$parameter[c("m", "eps")], theirs$parameter)
    expect_identical(ours[c("method", "data.name")], theirs[c("method", "data.name")])
    expect_s3_class(ours, "bdstest")
  }
  # Given eps, the same call shape.
  theirs <- tseries::bds.test(x, 4, c(0.3, 0.9))
  ours <- bds_test(x, 4, c(0.3, 0.9), reps = 0)
  expect_identical(dimnames(ours$statistic), dimnames(theirs$statistic))
})

test_that("a dimension's value does not depend on the largest dimension asked for", {
  set.seed(4)
  x <- rnorm(300) * exp(rnorm(300) / 2)
  small <- bds_test(x, m = 3, reps = 0)$statistic
  large <- bds_test(x, m = 8, reps = 0)$statistic
  expect_identical(large[1:2, ], small)
})

test_that("pairs exactly eps apart count as close", {
  # Integer data: the distance 1 must be 1 in the grid, not a step below.
  x <- as.double(c(0, 1, 3, 2, 2, 0, 1, 4, 3, 1, 0, 2, 4, 1, 3, 0, 2, 1, 4, 3))
  at <- function(eps) bds_test(x, m = 2, eps = eps, reps = 0)$statistic[1, 1]
  expect_identical(at(1), at(1 + 1e-9))
  expect_false(identical(at(1), at(1 - 1e-9)))
})

test_that("the default distances keep their normal p-values", {
  # 0.5 and 2 sd by R's sd sit a rounding step off the ends of the range where
  # the normal law is used; at n = 2000 and m = 3 every p-value is there.
  for (seed in 1:8) {
    set.seed(seed)
    x <- rnorm(2000)
    expect_false(anyNA(bds_test(x, m = 3, reps = 0)$p.value), label = paste("seed", seed))
  }
})
