// The package's entry points, registered so that R finds them by symbol only.
#include <R.h>
#include <R_ext/Rdynload.h>
#include <Rinternals.h>

extern "C" {
SEXP ixo_c_test(SEXP, SEXP, SEXP, SEXP, SEXP, SEXP);
SEXP ixo_c_bds(SEXP, SEXP, SEXP, SEXP, SEXP, SEXP, SEXP);
SEXP ixo_c_sd(SEXP);
SEXP ixo_c_critical(SEXP, SEXP, SEXP, SEXP, SEXP);
SEXP ixo_c_curves(SEXP, SEXP);
SEXP ixo_c_read_series(SEXP);

static const R_CallMethodDef kCallMethods[] = {
    {"ixo_c_test", reinterpret_cast<DL_FUNC>(&ixo_c_test), 6},
    {"ixo_c_bds", reinterpret_cast<DL_FUNC>(&ixo_c_bds), 7},
    {"ixo_c_sd", reinterpret_cast<DL_FUNC>(&ixo_c_sd), 1},
    {"ixo_c_critical", reinterpret_cast<DL_FUNC>(&ixo_c_critical), 5},
    {"ixo_c_curves", reinterpret_cast<DL_FUNC>(&ixo_c_curves), 2},
    {"ixo_c_read_series", reinterpret_cast<DL_FUNC>(&ixo_c_read_series), 1},
    {nullptr, nullptr, 0}};

void R_init_ixo(DllInfo* dll) {
  R_registerRoutines(dll, nullptr, kCallMethods, nullptr, nullptr);
  R_useDynamicSymbols(dll, FALSE);
  R_forceSymbols(dll, TRUE);
}
}
