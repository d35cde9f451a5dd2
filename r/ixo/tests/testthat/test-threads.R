# Every replication draws from its own stream, so the thread count changes nothing.

test_that("results do not depend on the number of threads", {
  set.seed(5)
  x <- rnorm(400)
  calls <- list(
    ixo_test = function(threads) ixo_test(x, m = 5, reps = 60, threads = threads)$table,
    bds_test = function(threads) bds_test(x, m = 4, reps = 60, threads = threads)$p.permutation,
    ixo_test_sequential = function(threads) {
      r <- ixo_test(x, m = 5, reps = 400, threads = threads, sequential = 4)
      list(r$table, r$p.overall, r$drawn)
    },
    bds_test_sequential = function(threads) {
      r <- bds_test(x, m = 4, reps = 400, threads = threads, sequential = 4)
      list(r$p.adjusted, r$p.overall, r$drawn)
    },
    ixo_critical = function(threads) ixo_critical(200, m = 3, reps = 60, threads = threads))
  for (name in names(calls)) {
    one <- calls[[name]](1)
    for (threads in list(2, 3, NULL)) {
      expect_identical(calls[[name]](threads), one,
                       label = paste(name, "threads =", deparse(threads)))
    }
  }
})
