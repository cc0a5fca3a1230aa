#pragma once
// The example programs of the 示例 menu: their folder and its index.tsv, one
// example a line as FILE<TAB>description.
//
// The folder is share/tarnik/examples beside the installed binary
// (bin/../share/tarnik/examples); a binary that is not installed uses the
// source tree's examples/, whose place the build records.
#include <QString>
#include <vector>

namespace tarnik {

struct ExampleEntry {
    QString path;  // the program file
    QString description;
};

// The folder that holds index.tsv; empty when neither place has one.
[[nodiscard]] QString examplesFolder();

// The examples of `folder`'s index.tsv in its order; lines without a tab
// are skipped. Empty when there is no index.
[[nodiscard]] std::vector<ExampleEntry> readExampleIndex(const QString& folder);

}  // namespace tarnik
