// The tables of ixo_cli ixo, bds and critical, built in one place for a run
// and for the merge of its parts, so that both print the same bytes.
#pragma once

#include <string>

#include "critical_simulation.h"
#include "ixo_test.h"
#include "permutation_tests.h"
#include "result_table.h"

namespace ixo {

// An empty table with the columns of `ixo`: kIxoTestHeader's.
ResultTable IxoTable();

// The rows of one series of `ixo`: one per dimension, then its overall row
// (m = "all").
void AddIxoRows(ResultTable& table, const std::string& path, const IxoTestReport& report);

// An empty table with the columns of `bds`:
// file,n,m,eps,bds,p_normal,p_permutation,p_adjusted.
ResultTable BdsTable();

// The rows of one series of `bds`: one per m and eps, then its overall row
// (m = "all").
void AddBdsRows(ResultTable& table, const std::string& path, long long n,
                const BdsPermutationTest& test);

// The table of `critical` for series of n values and R = reps replications,
// with the count of series without a value beside each dimension's percentiles.
ResultTable CriticalTable(long long n, int reps, const SimulatedCriticalValues& values);

}  // namespace ixo
