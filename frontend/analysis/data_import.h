// Loading a data file: the work behind the "..." buttons of both tabs
// (SpeedButton1Click), free of any toolkit. The chosen file is copied to
// input.tmp in the program directory and read from there; its readable numbers
// (at most 10000, in file order) become the entries of the observation list,
// input.tmp is rewritten with one cleaned value per CRLF line, the descriptive
// statistics are computed as texts and the set of critical values to preselect
// is chosen.
// The user's file is only ever opened for reading.
//
// An import that fails part-way keeps the steps it finished, as the window
// expects: ImportDataFile fills an ImportResult in order and stops at the
// failing step with the user's text in `error`. The window copies every part
// that is set into its controls, then shows the error:
//
//   const ImportResult r = ImportDataFile(path, program_directory, separator, list, files);
//   if (r.path) { Edit3 = Edit1 = *r.path; }
//   if (r.count_text) { histogram gauge = 0; Label5 = Label31 = *r.count_text; ... }
//   if (r.mean_text) { Label9 = Label36 = *r.mean_text; } ... and so on
//   if (r.size_class) ComboBox3 index = *r.size_class;
//   if (r.error) the error box shows *r.error;
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analysis/file_host.h"
#include "analysis/observation_list.h"

namespace ixo {

// What an import produced, in the order it is produced. A part left empty was
// not reached (or the import stopped before it) and its controls keep what they show.
struct ImportResult {
  // Set once the new series is in the list: the full path for Edit3 and
  // Edit1, which must not name a file whose data were not taken.
  std::optional<std::string> path;

  // Set once the new series is in the list: n for Label5/Label31, the file
  // name without its directory for Label7/Label34, the skipped count for
  // Label44/Label43. `count` and `skipped` are the same as numbers. Only then
  // does the histogram window's Gauge1 go to 0: while the list still holds the
  // series the histogram standardized (the import stopped before replacing
  // it), its moments are not out of date, and computing them again from the
  // standardized values would show a mean of 0 and a deviation of 1.
  std::optional<std::string> count_text;
  std::optional<std::string> file_name;
  std::optional<std::string> skipped_text;
  int count = 0;
  std::int64_t skipped = 0;

  // The statistics as ThreeDecimalText: mean (Label9/Label36), standard
  // deviation with divisor n - 1 (Label11/Label38), spread = max - min
  // (Label13/Label40), standard deviation / spread (Label15/Label42). Once the
  // new series is in the list each is set, to "" when the import stopped
  // before it, so that no label keeps a number of the earlier series.
  std::optional<std::string> mean_text;
  std::optional<std::string> standard_deviation_text;
  std::optional<std::string> spread_text;
  std::optional<std::string> ratio_text;

  // The index ComboBox3 preselects (0: 500, 1: 1000, 2: 2500, 3: permutation;
  // see PreselectedSizeClass).
  std::optional<int> size_class;

  // The user's text when the import stopped early ("Invalid floating point
  // operation" for fewer than two values, "Floating point division by zero",
  // "File access denied", a failed copy, data beyond the range of a double).
  std::optional<std::string> error;
};

// Imports the data file `chosen_path` through `program_directory` + "input.tmp"
// (`program_directory` ends with "/"), reading numbers under `decimal_separator`
// and writing the entries into `list`; the copy, its rename and the rewrite of
// input.tmp go through `files`, each whole or not at all. An empty `chosen_path` (the dialog was
// cancelled) changes nothing and returns an empty result.
//
// Where it stops and what has changed by then:
// - the copy fails, or the data hold a value or give a sum, spread or sum of
//   squares beyond the range of a double: nothing but `error`; list, input.tmp
//   and the path shown are as they were;
// - input.tmp cannot be rewritten: path, list and counts are new, the
//   statistics blank, input.tmp is the plain copy of the data file;
// - fewer than two values, or a spread of 0: path, list, counts and input.tmp
//   are new, the statistics blank, and for a spread of 0 mean, deviation and
//   spread computed.
[[nodiscard]] ImportResult ImportDataFile(const std::string& chosen_path,
                                          const std::string& program_directory,
                                          char decimal_separator, ObservationList& list,
                                          FileHost& files);

}  // namespace ixo
