\name{ixo_read_series}
\alias{ixo_read_series}
\title{Read a Series File as ixo_cli Reads It}
\description{
  The numbers of a series file (separated by white space, one per line in
  practice), read by the engine's own reader, so that they are the very
  doubles \command{ixo_cli} and \command{ixo_engine} compute with.
}
\usage{
ixo_read_series(file)
}
\arguments{
  \item{file}{the path of the file.}
}
\details{
  \code{scan()} and \code{read.table()} can read a decimal to a double one
  step away from the nearest one (one value of the 1000 in Ixo's
  \file{examples/logistic.txt}), and then a result can differ from
  \command{ixo_cli}'s in its last digits. A token that is no finite number is
  an error naming it and its line.
}
\value{A double vector.}
\examples{
file <- tempfile()
writeLines(c("0.402317", "0.961832", "0.146843"), file)
ixo_read_series(file)
unlink(file)
}
\keyword{file}
