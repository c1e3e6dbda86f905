#pragma once
// kelvane-cli's help text: every command, option, column and exit status.

namespace cli {

/// The text of --help, with its final line feed.
const char* Usage();

}  // namespace cli
