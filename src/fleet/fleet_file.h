#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "catalogue/model.h"

namespace tabulon::fleet {

// One register of a fleet file: a line of five columns.
struct FleetRegister {
    QString name;  // unique within the file; goes into file names for {name}
    QString port;  // as written: COMn, a device path, a network address
    int speed = 4800;
    int number = 1;  // the register's number on its line, 1 to 99
    Model model = Model::DatecsMp550T;
    int line = 0;  // where it stands in the file, for messages
};

struct ParsedFleet {
    QList<FleetRegister> registers;  // in the order of the file
    QString error;                   // set: nothing else counts
};

// The contents of a fleet file. A line is blank, a comment (from "#" to the
// end of the line, wherever it stands, also glued to a column) or five columns separated by
// blanks or tabs: name, port, speed, register number, model. The first
// mistake ends the reading: "line 4: ...".
ParsedFleet parseFleet(const QString& text);

// The file's bytes as text: UTF-8 (with or without its mark), or
// Windows-1251 where they are no UTF-8, which is how Notepad saves them on a
// Russian system. nullopt for UTF-16 (Notepad's "Unicode"), told by its
// mark: read as either, it would be a line of one name with NULs in it.
std::optional<QString> fleetText(const QByteArray& bytes);

// Reads and parses the file, a regular file of at most 4 MiB; the error
// names the file.
ParsedFleet readFleetFile(const QString& path);

}  // namespace tabulon::fleet
