#pragma once

#include <QString>

#include "cli/cli_request.h"
#include "link/register_link.h"

namespace tabulon::cli {

struct CliResult {
    int status = 0;  // 0 done, 1 failed
    QString output;  // for standard output
    QString error;   // one line for standard error, empty when done
};

// OpenPort, the one operation, ClosePort: nothing else goes on the line, so the
// register sees the operation's own exchange and the release of closing. A
// DATA that Windows-1251 cannot hold is refused before the port is touched.
CliResult runCliRequest(const CliRequest& request, link::RegisterLink& link, int portNumber);

}  // namespace tabulon::cli
