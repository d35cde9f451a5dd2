// The help text of the about page's memo: how the test works, how to use the
// program, how the two programs work together and how to run the engine by
// hand, and whom to contact. Lines are wrapped by hand to fit the memo.
#pragma once

namespace ixo {

// The whole help text, lines separated by "\n", ending with a line break.
const char* HelpText();

}  // namespace ixo
