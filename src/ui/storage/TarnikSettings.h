#pragma once
// The settings every window keeps (placement, font size, recent files, the
// answers of 输入数据 ...). QSettings writes its file through QSaveFile,
// whose commit() can report success after a failed write: on a full disk the
// whole file would be replaced by an empty one. Tarnik's settings therefore
// use a file format of their own whose writer checks every byte before the
// file is replaced; settings kept in the platform's usual place by earlier
// versions are taken over the first time.
#include <QSettings>

namespace tarnik {

[[nodiscard]] QSettings tarnikSettings();

// Writes what `settings` holds now; false when it could not be stored (the
// values stay in memory for this session only).
[[nodiscard]] bool storeSettings(QSettings& settings);

}  // namespace tarnik
