# The program the package's numbers are held against, and exact reading of
# its texts: R's own number reader can miss the nearest double by one step,
# the engine's reader (ixo_read_series) cannot.

ixo_cli_path <- Sys.getenv("IXO_CLI")
examples_dir <- Sys.getenv("IXO_EXAMPLES")

skip_without_cli <- function() {
  skip_if(!nzchar(ixo_cli_path) || !file.exists(ixo_cli_path), "IXO_CLI names no ixo_cli")
  skip_if(!dir.exists(examples_dir), "IXO_EXAMPLES names no folder")
}

example_path <- function(name) file.path(examples_dir, name)

# ixo_cli's CSV answer as a list of character blocks (blocks are separated by
# an empty line, as `curves` writes them).
cli_csv_blocks <- function(args) {
  out <- suppressWarnings(system2(ixo_cli_path, c(args, "--format", "csv"), stdout = TRUE,
                                  stderr = TRUE))
  status <- attr(out, "status")
  if (!is.null(status)) stop("ixo_cli ", paste(args, collapse = " "), ": ", paste(out, collapse = "\n"))
  breaks <- cumsum(out == "")
  lapply(split(out[out != ""], breaks[out != ""]), function(lines) {
    utils::read.csv(text = lines, colClasses = "character", check.names = FALSE)
  })
}

cli_csv <- function(args) cli_csv_blocks(args)[[1]]

# The doubles the texts stand for, NA for an empty text.
exact <- function(texts) {
  values <- rep(NA_real_, length(texts))
  have <- nzchar(texts)
  if (any(have)) {
    file <- tempfile()
    on.exit(unlink(file))
    writeLines(texts[have], file)
    values[have] <- ixo_read_series(file)
  }
  values
}

# The library's standard deviation, which places distances given in sd.
engine_sd <- function(x) .Call(ixo:::ixo_c_sd, as.double(x))
