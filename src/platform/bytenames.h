#pragma once

#include <QByteArray>
#include <QString>

namespace morvane {

// A file named on the command line, as the program can hold it.
struct ReachableName {
    QString name;  // empty when the file cannot be reached
    QString error; // why, when it cannot
};

// The program holds names as text, and a folder name that is not valid in the
// system's encoding (bytes from another system, an old archive) would come out
// changed and name nothing. Such a file is reached through a link of the
// user's own, in Morvane's runtime folder, to its folder: what is read and
// written there lands in the real folder. A name that decodes is returned as
// it is; a file whose own name does not decode cannot be reached (the results
// are named after it).
ReachableName reachableName(const QByteArray& raw);

// Whether the bytes come back unchanged from the program's text form.
bool decodesWhole(const QByteArray& raw);

} // namespace morvane
