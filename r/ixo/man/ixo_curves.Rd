\name{ixo_curves}
\alias{ixo_curves}
\alias{ixo_curves.default}
\alias{ixo_curves.lm}
\alias{ixo_curves.Arima}
\alias{ixo_curves.garch}
\alias{print.ixo_curves}
\alias{plot.ixo_curves}
\title{Correlation Integrals Behind the Ixo Values}
\description{
  The log-log picture behind each Ixo value: for every dimension and grid
  point the distance, the number of close pairs of m-histories and their
  logarithms, whether the fit uses the point, and the fitted line of each
  dimension, whose slope is that dimension's Ixo value to the last bit. The
  numbers are those of \command{ixo_cli curves}; \code{plot} draws them as the
  window's picture.
}
\usage{
ixo_curves(x, \dots)

\method{ixo_curves}{default}(x, m = 10, eps = c(0.60, 1.90), subint = 40,
           cm_limit = 50, \dots)
\method{ixo_curves}{lm}(x, \dots)
\method{ixo_curves}{Arima}(x, \dots)
\method{ixo_curves}{garch}(x, \dots)

\method{print}{ixo_curves}(x, \dots)
\method{plot}{ixo_curves}(x, col = NULL, main = NULL, \dots)
}
\arguments{
  \item{x}{a series or a fitted model, as in \code{\link{ixo_test}}; for
    \code{print} and \code{plot}, a result of \code{ixo_curves}.}
  \item{m, eps, subint, cm_limit}{as in \code{\link{ixo_test}}.}
  \item{col}{colours of the dimensions, recycled; by default
    \code{hcl.colors(., "Dark 3")}.}
  \item{main}{the title.}
  \item{\dots}{for the model methods, the arguments of the default method;
    for \code{plot}, further arguments of \code{\link[graphics]{plot}}.}
}
\value{
  A list of class \code{"ixo_curves"}:
  \item{points}{a data frame with \code{m}, \code{k} (grid index from 0),
    \code{eps} (in the units of the data), \code{x} = ln(eps / spread),
    \code{pairs}, \code{y} = ln(pairs) (\code{-Inf} without a pair) and
    \code{used} (more close pairs than the Cm limit).}
  \item{fits}{a data frame with \code{m}, \code{slope} (the Ixo value),
    \code{intercept} (at x = 0) and \code{points} (the points used).}
  \item{spread}{the largest minus the smallest value.}
  \item{parameter, data.name}{the settings and the name of the data.}
}
\details{
  In the plot the used points are filled, those with too few close pairs
  hollow, and each dimension has its fitted line over the used points.
}
\seealso{\code{\link{ixo_test}}}
\examples{
set.seed(1)
curves <- ixo_curves(rnorm(1000), m = 5)
curves
plot(curves)
}
\keyword{ts}
\keyword{hplot}
