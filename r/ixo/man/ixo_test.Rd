\name{ixo_test}
\alias{ixo_test}
\alias{ixo_test.default}
\alias{ixo_test.lm}
\alias{ixo_test.Arima}
\alias{ixo_test.garch}
\alias{print.ixo_test}
\alias{as.data.frame.ixo_test}
\title{Ixo Test of the i.i.d. Hypothesis}
\description{
  The Ixo values of embedding dimensions 2 to \code{m} of a series: for each
  dimension the least-squares slope of the log number of close pairs of
  m-histories against the log distance, over a geometric grid of distances.
  Each value gets the verdict of the tabulated critical values and a two-sided
  permutation p-value that is exact at any sample size and for any marginal
  law; from the same permutations, that p-value adjusted over the dimensions
  and one overall p-value for all of them. The rows are those of
  \command{ixo_cli ixo}, bit for bit.
}
\usage{
ixo_test(x, \dots)

\method{ixo_test}{default}(x, m = 10, eps = c(0.60, 1.90), subint = 40,
         cm_limit = 50, reps = 999, seed = 20040105, threads = NULL,
         sequential = 0, \dots)
\method{ixo_test}{lm}(x, \dots)
\method{ixo_test}{Arima}(x, \dots)
\method{ixo_test}{garch}(x, \dots)

\method{print}{ixo_test}(x, digits = getOption("digits"), \dots)
\method{as.data.frame}{ixo_test}(x, \dots)
}
\arguments{
  \item{x}{a numeric or integer vector or a univariate \code{ts} of finite
    values; or a model fitted by \code{\link[stats]{lm}},
    \code{\link[stats]{arima}} or \code{tseries::garch}, whose residuals
    (\code{residuals(x)}; for \code{garch} the standardized residuals, without
    the leading values it leaves \code{NA}) are tested. For \code{print} and
    \code{as.data.frame}, a result of \code{ixo_test}.}
  \item{m}{the largest embedding dimension, 2 to 16, at most \code{length(x) - 1}.}
  \item{eps}{the distance range: lowest and highest distance as multiples of
    the standard deviation of \code{x}.}
  \item{subint}{the number of intervals of the distance grid (\code{subint + 1}
    distances), 1 to 10000.}
  \item{cm_limit}{a grid point enters the fit only with more close pairs than this.}
  \item{reps}{the number of random permutations, 0 to \eqn{10^7}; 0 gives no p-values.}
  \item{seed}{the seed of the permutations, a whole number 0 to \eqn{2^{53}};
    the default is \command{ixo_cli}'s, so the two agree.}
  \item{threads}{the number of threads, 1 to 256, or \code{NULL} (or 0) for one
    per core. The results do not depend on it.}
  \item{sequential}{the tail count h of the sequential rule, 0 to 100000:
    stop drawing permutations once every p-value is certainly above 10\%
    (a statistic stops after the first \eqn{L \le 20h - 1}{L <= 20h - 1}
    permutations with h at or below its value and h at or above it, and gets
    \eqn{p = \min(1, 2h / L)}{p = min(1, 2h / L)}; the others keep the p-value of
    all \code{reps}). 0 draws all of them.}
  \item{digits}{significant digits of the printed values.}
  \item{\dots}{for the model methods, the arguments of the default method;
    elsewhere unused (an unknown argument is an error).}
}
\details{
  Under the i.i.d. hypothesis every ordering of the series is equally likely,
  so the Ixo value of the series is held against those of \code{reps} random
  permutations of it, and
  \eqn{p = \min(1, 2 \min((1 + \#\{T^* \le T\}) / (R + 1), (1 + \#\{T^* \ge T\}) / (R + 1)))}{p = min(1, 2 min((1 + #{T* <= T}) / (R + 1), (1 + #{T* >= T}) / (R + 1)))}.
  Permutation \eqn{r} is drawn from its own random stream of (\code{seed}, \eqn{r}).

  Read alone, nine p-values reject an i.i.d. series far more often than their
  level. Each permutation yields every dimension's value, so the family is
  calibrated from the same permutations: \code{p.adjusted} is Westfall and
  Young's step-down min-p adjusted p-value (rejecting every dimension whose
  \code{p.adjusted} is at most a rejects a true i.i.d. hypothesis anywhere in
  the family with probability at most a), never below \code{p.value}, and
  \code{p.overall} the smallest of them: one exact test of all dimensions,
  \command{ixo_cli ixo}'s row \code{all}. With \code{sequential} they come
  from the permutations drawn for every dimension.

  \code{class} is the tabulated sample size nearest to \code{length(x)} (500,
  1000 or 2500) and \code{verdict} the tables' verdict for the value rounded
  to three decimals: \code{"do not reject"}, or \code{"reject at 10\%"} to
  \code{"reject at 1\%"}. The tables hold for i.i.d. normal series of those
  sizes and for the distance ranges 0.60--1.90, 0.25--1.00, 0.50--1.50 and
  0.25--2.00 with 40 intervals and a Cm limit of 50; elsewhere (and above
  m = 10) the verdict is \code{"unknown"}, and where n lies more than 20\%
  from the class it says so (\code{"unknown: n lies more than 20 \% from the
  class"}): the permutation p-value is then the one to read. A dimension
  without a fit (fewer than two usable grid points, or flat counts) has
  \code{ixo} and \code{p.value} \code{NA} and a verdict \code{"no value: "}
  with the reason.

  Missing or infinite values are an error naming the first of them: drop or
  fill them first. Long runs can be stopped with Ctrl+C (Esc in the GUI).
}
\value{
  A list of class \code{"ixo_test"}:
  \item{table}{a data frame with one row per dimension: \code{m}, \code{ixo}
    (the Ixo value), \code{points} (the grid points used), \code{p.value}
    (\code{NA} with \code{reps = 0}), \code{class} and \code{verdict}: the
    columns of \command{ixo_cli ixo}, with \code{NA} where it writes nothing;
    and \code{p.adjusted}.}
  \item{statistic, p.value, p.adjusted}{the Ixo values, p-values and adjusted
    p-values, named \code{"m=2"} ...}
  \item{p.overall}{the overall p-value of all dimensions; \code{NA} with
    \code{reps = 0}.}
  \item{verdict.overall}{its verdict at 1, 2, 5 and 10\% (\code{"reject at
    5\%"}, \code{"do not reject"}); \code{"unknown"} without a \code{p.overall}.}
  \item{drawn}{the permutations drawn: \code{reps}, or fewer where the
    sequential rule stopped.}
  \item{parameter}{the settings: \code{m}, \code{eps}, \code{subint},
    \code{cm_limit}, \code{reps}, \code{seed}, \code{sequential}.}
  \item{n}{the length of the series.}
  \item{method, data.name}{as in an \code{htest}.}
}
\seealso{\code{\link{bds_test}}, \code{\link{ixo_critical}} for critical values
  at any n, \code{\link{ixo_curves}} for the picture behind the values.}
\examples{
set.seed(1)
x <- rnorm(500)
ixo_test(x, m = 5, reps = 199)

# The sequential rule draws few permutations for an i.i.d. series.
s <- ixo_test(x, m = 5, reps = 999, sequential = 10)
c(s$drawn, s$p.overall)

# The logistic map is deterministic: every dimension rejects.
z <- numeric(500); z[1] <- 0.3
for (i in 2:500) z[i] <- 4 * z[i - 1] * (1 - z[i - 1])
ixo_test(z, m = 4, reps = 99)$table

# A fitted model: its residuals are tested.
fit <- arima(lh, order = c(1, 0, 0))
ixo_test(fit, m = 3, eps = c(0.5, 1.5), reps = 99)
}
\keyword{htest}
\keyword{ts}
