\name{ixo_critical}
\alias{ixo_critical}
\title{Simulated Critical Values of the Ixo Value}
\description{
  Percentiles of the Ixo value of dimensions 2 to \code{m} under the i.i.d.
  normal hypothesis for any sample size: the Ixo values of \code{reps} series
  of \code{n} independent standard normal values. The rows are those of
  \command{ixo_cli critical}, bit for bit.
}
\usage{
ixo_critical(n, m = 10, eps = c(0.60, 1.90), subint = 40, cm_limit = 50,
             reps = 20000, seed = 20040105, threads = NULL)
}
\arguments{
  \item{n}{the series length, 3 to \eqn{10^7}.}
  \item{m, eps, subint, cm_limit, seed, threads}{as in \code{\link{ixo_test}}.}
  \item{reps}{the number of simulated series, 1 to \eqn{10^7}.}
}
\details{
  The p-th percentile of the R sorted values is interpolated linearly at
  position \eqn{(R - 1) p / 100}. Series \eqn{r} is drawn from its own random
  stream of (\code{seed}, \eqn{r}).
}
\value{
  A data frame with columns \code{n}, \code{m}, \code{reps} and the
  percentiles \code{p0.5}, \code{p1}, \code{p2.5}, \code{p5}, \code{p95},
  \code{p97.5}, \code{p99}, \code{p99.5}, and \code{undefined}, one row per
  dimension. A series whose dimension has no Ixo value (fewer than two usable
  grid points, or flat counts) is left out of that dimension's percentiles and
  counted in \code{undefined}; where fewer than half of the series have a
  value the call fails.
}
\seealso{\code{\link{ixo_test}}}
\examples{
ixo_critical(300, m = 4, reps = 500)
}
\keyword{htest}
