\name{ixo-package}
\alias{ixo-package}
\docType{package}
\title{Exact Tests of the i.i.d. Hypothesis}
\description{
  \code{\link{ixo_test}} computes the Ixo values of a series or of a fitted
  model's residuals with tabulated verdicts and permutation p-values,
  \code{\link{bds_test}} the BDS statistic in the shape of
  \code{tseries::bds.test}, \code{\link{ixo_critical}} simulated critical
  values for any n and \code{\link{ixo_curves}} the correlation integrals
  behind the values. \code{\link{ixo_read_series}} reads a series file as the
  command-line programs do. Every number comes from the engine library that
  \command{ixo_cli} uses, so the two agree to the last bit for the same
  settings and seed; the permutations run on every core, and the results do
  not depend on the number of threads.
}
\keyword{package}
