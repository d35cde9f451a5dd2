library(testthat)
library(ixo)
test_check("ixo")
