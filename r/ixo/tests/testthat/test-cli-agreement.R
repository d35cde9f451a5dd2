# Every number equals ixo_cli's to the last bit for the same settings and seed.

ixo_cases <- list(
  list(file = "normal.txt", r = list(), cli = character()),
  list(file = "logistic.txt", r = list(m = 6, eps = c(0.25, 1), reps = 99, seed = 7),
       cli = c("--m", "6", "--eps", "0.25:1", "--reps", "99", "--seed", "7")),
  list(file = "garch.txt", r = list(m = 4, subint = 20, cm_limit = 10, reps = 0),
       cli = c("--m", "4", "--subint", "20", "--cm-limit", "10", "--reps", "0")),
  list(file = "garch.txt", r = list(m = 12, eps = c(0.5, 1.5), reps = 49, seed = 3),
       cli = c("--m", "12", "--eps", "0.5:1.5", "--reps", "49", "--seed", "3")),
  # Dimensions without a fit: no value, no p-value, a verdict saying why.
  list(file = "normal.txt", r = list(m = 6, cm_limit = 200000, reps = 19),
       cli = c("--m", "6", "--cm-limit", "200000", "--reps", "19")),
  # n far from every tabulated class.
  list(file = "first-300", r = list(m = 3, reps = 19), cli = c("--m", "3", "--reps", "19")),
  # The sequential rule: the i.i.d. series stops early, the map runs to R.
  list(file = "normal.txt", r = list(m = 5, sequential = 5),
       cli = c("--m", "5", "--sequential", "5")),
  list(file = "logistic.txt", r = list(m = 3, reps = 199, sequential = 2, seed = 5),
       cli = c("--m", "3", "--reps", "199", "--sequential", "2", "--seed", "5"))
)

# ixo_cli's rows of one file: the members, and its last row "all" for the family.
split_family <- function(rows) {
  stopifnot(nrow(rows) > 0, rows$m[nrow(rows)] == "all")
  list(members = rows[-nrow(rows), ], all = rows[nrow(rows), ])
}

# An example file, or the first 300 lines of garch.txt for "first-300".
case_path <- function(file) {
  if (file != "first-300") return(example_path(file))
  path <- file.path(tempdir(), "first-300.txt")
  writeLines(readLines(example_path("garch.txt"))[1:300], path)
  path
}

test_that("ixo_test gives ixo_cli ixo's rows", {
  skip_without_cli()
  for (case in ixo_cases) {
    path <- case_path(case$file)
    label <- paste(case$file, paste(case$cli, collapse = " "))
    result <- do.call(ixo_test, c(list(ixo_read_series(path)), case$r))
    got <- result$table
    family <- split_family(cli_csv(c("ixo", path, case$cli)))
    want <- family$members
    expect_identical(got$m, as.integer(want$m), label = label)
    expect_identical(got$ixo, exact(want$ixo), label = label)
    expect_identical(got$points, as.integer(want$points), label = label)
    expect_identical(got$class, as.integer(want$class), label = label)
    expect_identical(got$verdict, want$verdict, label = label)
    expect_identical(got$p.value, exact(want$p_value), label = label)
    expect_identical(got$p.adjusted, exact(want$p_adjusted), label = label)
    expect_identical(result$p.overall, exact(family$all$p_value), label = label)
    expect_identical(result$verdict.overall, family$all$verdict, label = label)
  }
})

test_that("bds_test gives ixo_cli bds's values at the same distances", {
  skip_without_cli()
  cases <- list(
    list(file = "normal.txt", m = 3, sd = c(0.5, 1, 1.5, 2), reps = 99),
    list(file = "logistic.txt", m = 5, sd = c(0.7, 1.3), reps = 19),
    list(file = "garch.txt", m = 2, sd = 1, reps = 0),
    list(file = "normal.txt", m = 4, sd = c(1, 1.5), reps = 499, sequential = 3))
  for (case in cases) {
    path <- example_path(case$file)
    x <- ixo_read_series(path)
    fractions <- paste(case$sd, collapse = ",")
    label <- paste(case$file, case$m, fractions)
    sequential <- if (is.null(case$sequential)) 0 else case$sequential
    got <- bds_test(x, m = case$m, eps = case$sd * engine_sd(x), reps = case$reps,
                    sequential = sequential)
    family <- split_family(cli_csv(c("bds", path, "--m", case$m, "--eps", fractions,
                                     "--reps", case$reps, "--sequential", sequential)))
    want <- family$members
    shape <- function(column) {
      matrix(exact(column), nrow = case$m - 1, byrow = TRUE, dimnames = dimnames(got$statistic))
    }
    expect_identical(got$statistic, shape(want$bds), label = label)
    expect_identical(got$p.value, shape(want$p_normal), label = label)
    if (case$reps > 0) {
      expect_identical(got$p.permutation, shape(want$p_permutation), label = label)
      expect_identical(got$p.adjusted, shape(want$p_adjusted), label = label)
    } else {
      expect_null(got$p.permutation, label = label)
      expect_null(got$p.adjusted, label = label)
    }
    expect_identical(got$p.overall, exact(family$all$p_adjusted), label = label)
  }
})

test_that("ixo_critical gives ixo_cli critical's percentiles", {
  skip_without_cli()
  got <- ixo_critical(300, m = 4, eps = c(0.5, 1.5), reps = 150, seed = 11)
  want <- cli_csv(c("critical", "--n", "300", "--m", "4", "--eps", "0.5:1.5", "--reps", "150",
                    "--seed", "11"))
  expect_identical(names(got), names(want))
  expect_identical(got$m, as.integer(want$m))
  for (column in names(want)[4:11]) {
    expect_identical(got[[column]], exact(want[[column]]), label = column)
  }
  expect_identical(got$undefined, as.integer(want$undefined))
})

test_that("ixo_curves gives ixo_cli curves' points and lines", {
  skip_without_cli()
  for (file in c("normal.txt", "logistic.txt")) {
    path <- example_path(file)
    got <- ixo_curves(ixo_read_series(path), m = 5, eps = c(0.25, 2), cm_limit = 200)
    want <- cli_csv_blocks(c("curves", path, "--m", "5", "--eps", "0.25:2", "--cm-limit", "200"))
    points <- want[[1]]
    fits <- want[[2]]
    for (column in c("eps", "x")) {
      expect_identical(got$points[[column]], exact(points[[column]]), label = file)
    }
    # ixo_cli writes the count of close pairs as the whole number it is.
    expect_identical(round(got$points$pairs), exact(points$pairs), label = file)
    y <- exact(points$y)
    y[is.na(y)] <- -Inf
    expect_identical(got$points$y, y, label = file)
    expect_identical(got$points$used, points$used == "1", label = file)
    expect_identical(got$fits$slope, exact(fits$slope), label = file)
    expect_identical(got$fits$intercept, exact(fits$intercept), label = file)
    expect_identical(got$fits$points, as.integer(fits$points), label = file)
  }
})
