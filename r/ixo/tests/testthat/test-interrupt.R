# Ctrl+C stops a long run between replications and leaves the session usable.

test_that("an interrupt stops a permutation run and the session goes on", {
  skip_on_os("windows")
  set.seed(1)
  x <- rnorm(1000)
  # Unstopped, these runs take minutes; the interrupt comes after a second.
  runs <- list(
    ixo_test = function() ixo_test(x, reps = 1e6, threads = 2),
    bds_test = function() bds_test(x, m = 10, reps = 1e7, threads = 1),
    ixo_critical = function() ixo_critical(1000, reps = 1e6))
  for (name in names(runs)) {
    system(sprintf("(sleep 1; kill -INT %d) >/dev/null 2>&1 &", Sys.getpid()))
    got <- tryCatch(runs[[name]](), interrupt = function(e) "interrupted")
    expect_identical(got, "interrupted", label = name)
  }
  expect_identical(nrow(ixo_test(x, m = 3, reps = 9)$table), 2L)
})
