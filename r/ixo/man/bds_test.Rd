\name{bds_test}
\alias{bds_test}
\alias{bds_test.default}
\alias{bds_test.lm}
\alias{bds_test.Arima}
\alias{bds_test.garch}
\alias{print.ixo_bds_test}
\title{BDS Test with Permutation p-values}
\description{
  The BDS statistic of a series for every embedding dimension 2 to \code{m} at
  each distance, with its two-sided p-value from the standard normal law and
  a permutation p-value (also adjusted over every dimension and distance, and
  one overall p-value for the whole family), in the shape of \code{tseries::bds.test}'s answer, so
  that one call can stand in for the other. The values are those of
  \command{ixo_cli bds}, bit for bit.
}
\usage{
bds_test(x, \dots)

\method{bds_test}{default}(x, m = 3,
         eps = seq(0.5 * sd(x), 2 * sd(x), length.out = 4),
         reps = 999, seed = 20040105, threads = NULL, sequential = 0, \dots)
\method{bds_test}{lm}(x, m = 3, eps = NULL, \dots)
\method{bds_test}{Arima}(x, m = 3, eps = NULL, \dots)
\method{bds_test}{garch}(x, m = 3, eps = NULL, \dots)

\method{print}{ixo_bds_test}(x, digits = 4, \dots)
}
\arguments{
  \item{x}{a numeric or integer vector or a univariate \code{ts} of finite
    values, or a model fitted by \code{lm}, \code{arima} or \code{tseries::garch}
    (see \code{\link{ixo_test}}). For \code{print}, a result of \code{bds_test}.}
  \item{m}{the largest embedding dimension, 2 to 16.}
  \item{eps}{the distances, in the units of the data as in
    \code{tseries::bds.test}; for a model \code{NULL} means 0.5 to 2 standard
    deviations of its residuals.}
  \item{reps}{the number of random permutations, 0 to \eqn{10^7}; 0 gives no
    \code{p.permutation}.}
  \item{seed, threads, sequential}{as in \code{\link{ixo_test}}.}
  \item{digits}{decimals of the printed values.}
  \item{\dots}{for the model methods, the arguments of the default method;
    elsewhere unused (an unknown argument is an error).}
}
\details{
  The statistic is \eqn{\sqrt{n - m + 1}\,(C_m - C_1^m) / \sigma_m}{sqrt(n - m + 1) (C_m - C_1^m) / sigma_m} with
  \eqn{C_m} the share of close pairs among the \eqn{n - m + 1} m-histories
  (maximum norm; a distance equal to eps counts as close), and \eqn{C_1},
  \eqn{K}, \eqn{c} and so \eqn{\sigma_m} from all n values. A dimension's value
  therefore does not depend on the largest dimension asked for.

  It differs from \code{tseries::bds.test}'s value, whose value for a
  dimension also changes with \code{m}. Measured for \code{set.seed(1); x <-
  rnorm(500)} at eps = 0.506 (0.5 sd): m = 2 gives -1.8581 here and -2.0049
  from \code{tseries::bds.test(x, m = 4)} but -1.9377 from
  \code{tseries::bds.test(x, m = 2)}; over m = 2 to 4 and the four default
  distances the two differ by 0.02 to 0.16. The normal p-values are
  asymptotic in both; the permutation p-value is exact at any n.

  The distances are placed exactly at \code{eps}, so pairs exactly eps apart
  (integer data) count as close.
}
\value{
  A list of classes \code{"ixo_bds_test"} and \code{"bdstest"}:
  \item{statistic}{the BDS statistics, a matrix with a row per dimension
    (named \code{2:m}) and a column per distance (named by \code{eps}); \code{NA}
    where the variance is not positive.}
  \item{p.value}{two-sided p-values from the standard normal law, shaped alike;
    \code{NA} where that law misleads: below 200 values per dimension
    (\eqn{n < 200 m}) or at distances outside 0.5 to 2 standard deviations.}
  \item{p.permutation}{two-sided permutation p-values, shaped alike; \code{NULL}
    with \code{reps = 0}.}
  \item{p.adjusted}{the permutation p-values adjusted over every dimension and
    distance by step-down min-p, from the same permutations, shaped alike and
    never below \code{p.permutation}; \code{NULL} with \code{reps = 0}.}
  \item{p.overall}{the overall p-value of the whole family (the smallest
    adjusted one), \command{ixo_cli bds}'s row \code{all}; \code{NA} where
    there is none.}
  \item{drawn}{the permutations drawn: \code{reps}, or fewer where the
    sequential rule stopped.}
  \item{method, data.name}{\code{"BDS Test"} and the name of the data.}
  \item{parameter}{\code{m} (the dimensions 2:m), \code{eps}, \code{reps},
    \code{seed}, \code{sequential}.}
}
\seealso{\code{\link{ixo_test}}}
\examples{
set.seed(1)
x <- rnorm(500)
bds_test(x, m = 4, reps = 199)

# A conditionally heteroskedastic series: the BDS test rejects.
e <- rnorm(1000); h <- numeric(1000); y <- numeric(1000); h[1] <- 1
for (t in 2:1000) { h[t] <- 0.1 + 0.8 * y[t - 1]^2; y[t] <- sqrt(h[t]) * e[t] }
b <- bds_test(y, m = 3, reps = 99)
b$p.permutation
b$p.overall
}
\keyword{htest}
\keyword{ts}
