#include "settings/trace_setting.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "settings/profile_file.h"
#include "support/file_bytes.h"

namespace tabulon::settings {
namespace {

TEST(TraceSetting, TheTraceFileIsReadFromCommunication) {
    const struct {
        const char* what;
        QByteArray bytes;  // null: no settings file
        QString trace;
    } rows[] = {
        {"no file", QByteArray(), ""},
        {"no key", "[Communication]\r\nSpeed=4800\r\n", ""},
        {"a file", "[Communication]\r\nSpeed=4800\r\nTrace=line.log\r\n", "line.log"},
        {"any letter case, blanks and quotes",
         "[communication]\r\n trace = \"C:\\logs\\a b.log\" \r\n", "C:\\logs\\a b.log"},
        {"another section's key", "[Reports]\r\nTrace=x.log\r\n", ""},
        {"empty: none", "[Communication]\r\nTrace=\r\n", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        const QString path = dir.filePath("Tabulon.ini");
        if (!row.bytes.isNull()) testing::writeFile(path, row.bytes);
        EXPECT_EQ(traceFileSetting(ProfileFile(path)), row.trace);
        // Only read: the file stays as it was.
        EXPECT_EQ(testing::readFile(path), row.bytes.isNull() ? QByteArray() : row.bytes);
    }
}

}  // namespace
}  // namespace tabulon::settings
