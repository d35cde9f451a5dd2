// The progress bar of a long subcommand, drawn on standard error in place (a
// carriage return before each drawing) and only where that is a terminal.
#pragma once

#include <cstdio>
#include <string>

namespace ixo {

class ProgressBar {
 public:
  // Draws on `out` when `enabled`; otherwise every call does nothing.
  ProgressBar(std::FILE* out, bool enabled);
  ~ProgressBar();  // clears the bar's line

  // Shows `label` and done / total; redrawn only when the shown percentage
  // changes or the label does.
  void Show(const std::string& label, int done, int total);

  // Blanks the bar's line, so that a message can follow on a line of its own.
  void Clear();

 private:
  std::FILE* out_;
  bool enabled_;
  bool shown_ = false;
  int percent_ = -1;
  std::string label_;
};

}  // namespace ixo
