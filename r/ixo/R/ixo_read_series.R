# ixo_read_series(): a series file read by the engine's own reader, so that the
# doubles are the ones ixo_cli and ixo_engine compute with.

ixo_read_series <- function(file) {
  fun <- "ixo_read_series"
  if (!is.character(file) || length(file) != 1 || is.na(file)) {
    ixo_fail(fun, "'file' must be one path, not ", ixo_shown(file))
  }
  ixo_answer(.Call(ixo_c_read_series, path.expand(file)), fun)$values
}
