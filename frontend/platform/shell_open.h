// Handing a link (a web address, or "mailto:" and an address) to the desktop's
// default handler. The handler is started fully detached: the caller never
// waits for it and no zombie process is left, whatever it does.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ixo {

// Asks `xdg-open` to open `target`. Empty when the opener was started; otherwise
// why not (e.g. xdg-open not installed). What the opener then does is not followed.
std::optional<std::string> OpenWithDesktop(const std::string& target);

// Starts argv[0] (a bare name is looked up along PATH) with the arguments that
// follow, detached from this process: standard input, output and error go to
// /dev/null, it runs in its own session, and it is never this process's child,
// so it leaves no zombie. Empty when it was started; otherwise the reason.
std::optional<std::string> StartDetached(const std::vector<std::string>& argv);

}  // namespace ixo
