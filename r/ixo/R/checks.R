# Checks of what the user passes, before anything reaches the library: the
# series must be plain finite numbers, the settings whole numbers where the
# library counts. Each failure is an R error that names the function and the
# argument; ranges the library itself judges (m, subint, eps, ...) are left to
# its own messages, raised by ixo_answer().

ixo_fail <- function(fun, ...) {
  stop(paste0(fun, ": ", ...), call. = FALSE)
}

# The series as a plain double vector, or an error saying what is wanted.
ixo_series <- function(x, fun) {
  wanted <- "x must be a numeric vector or a univariate time series"
  what <- if (is.data.frame(x)) {
    "a data frame (take one column, e.g. x[[1]])"
  } else if (is.matrix(x) || length(dim(x)) > 1) {
    "a matrix (give one column as a vector: as.numeric(x[, 1]))"
  } else if (is.factor(x)) {
    "a factor"
  } else if (is.character(x)) {
    "a character vector"
  } else if (is.complex(x)) {
    "a complex vector"
  } else if (is.logical(x) && length(x) > 0) {
    "a logical vector"
  } else if (is.list(x)) {
    "a list"
  } else if (!is.numeric(x) && !is.logical(x)) {
    paste("an object of class", paste0("\"", class(x)[1], "\""))
  }
  if (!is.null(what)) ixo_fail(fun, wanted, ", not ", what)
  x <- as.double(x)
  bad <- which(!is.finite(x))
  if (length(bad) > 0) {
    first <- bad[1]
    value <- if (is.nan(x[first])) "NaN" else if (is.na(x[first])) "NA" else format(x[first])
    ixo_fail(fun, "x[", first, "] is ", value, " (", length(bad), " value",
             if (length(bad) > 1) "s", " not finite in all); the series must hold ",
             "finite numbers only: drop or replace such values first")
  }
  x
}

ixo_is_single_number <- function(value) {
  is.numeric(value) && !is.object(value) && length(value) == 1 && !is.na(value)
}

# A whole number low .. high as an integer (low and high within int range).
# Without low and high, any whole number an int holds (the library judges the range).
ixo_whole <- function(value, name, fun, low = NULL, high = NULL) {
  limit <- .Machine$integer.max
  if (!ixo_is_single_number(value) || !is.finite(value) || value != round(value) ||
      value < (if (is.null(low)) -limit else low) || value > (if (is.null(high)) limit else high)) {
    range <- if (!is.null(low)) {
      paste0(" from ", format(low, scientific = FALSE), " to ", format(high, scientific = FALSE))
    }
    ixo_fail(fun, "'", name, "' must be one whole number", range, ", not ", ixo_shown(value))
  }
  as.integer(value)
}

# The seed as a double holding a whole number 0 .. 2^53 (exact in a double).
ixo_seed <- function(seed, fun) {
  if (!ixo_is_single_number(seed) || !is.finite(seed) || seed != round(seed) ||
      seed < 0 || seed > 2^53) {
    ixo_fail(fun, "'seed' must be one whole number from 0 to 2^53, not ", ixo_shown(seed))
  }
  as.double(seed)
}

# Threads: NULL or 0 for one per core, else 1 .. 256.
ixo_threads <- function(threads, fun) {
  if (is.null(threads)) return(0L)
  ixo_whole(threads, "threads", fun, 0, 256)
}

# Distances: finite positive numbers (in units of the sd, or of the data).
ixo_distances <- function(eps, fun, count = NULL) {
  if (!is.numeric(eps) || is.object(eps) || length(eps) == 0 ||
      (!is.null(count) && length(eps) != count) || any(!is.finite(eps)) || any(eps <= 0)) {
    ixo_fail(fun, "'eps' must be ",
             if (is.null(count)) "one or more" else paste0(count, " (lowest, highest)"),
             " positive finite numbers, not ", ixo_shown(eps))
  }
  as.double(eps)
}

# The settings of the Ixo value as the library reads them.
ixo_settings <- function(m, eps, subint, cm_limit, fun) {
  eps <- ixo_distances(eps, fun, count = 2)
  list(m = ixo_whole(m, "m", fun), eps_low = eps[1], eps_high = eps[2],
       subint = ixo_whole(subint, "subint", fun), cm_limit = ixo_whole(cm_limit, "cm_limit", fun))
}

# A short text of a bad value for an error message.
ixo_shown <- function(value) {
  if (is.null(value)) return("NULL")
  if (is.character(value) && length(value) == 1) return(paste0("\"", value, "\""))
  if (!is.atomic(value)) return(paste("an object of class", class(value)[1]))
  if (length(value) == 0) return(paste0("an empty ", typeof(value), " vector"))
  text <- paste(format(utils::head(value, 4)), collapse = ", ")
  if (length(value) > 1) text <- paste0("c(", text, if (length(value) > 4) ", ...", ")")
  text
}

# Arguments the function does not know, which would otherwise vanish in `...`.
ixo_no_extra <- function(extra, fun) {
  if (length(extra) > 0) {
    names <- names(extra)
    if (is.null(names)) names <- rep("", length(extra))
    names[names == ""] <- "(unnamed)"
    ixo_fail(fun, "unknown argument", if (length(extra) > 1) "s", ": ",
             paste(names, collapse = ", "))
  }
}

# The library's answer: its columns, or its message raised as an error.
ixo_answer <- function(answer, fun) {
  if (!is.null(answer$error)) ixo_fail(fun, answer$error)
  answer
}
