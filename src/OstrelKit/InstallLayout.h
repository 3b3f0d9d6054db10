#pragma once

#include <QString>
#include <variant>

// Which copies may replace themselves: only a folder made by the project's own install layout
// (`cmake --install` into a prefix: bin/ with the program alone, share/, libexec/) that this user can
// write. A copy run from its build folder or from a system prefix such as /usr is never touched.
namespace InstallLayout {

enum class Refusal { notOwnLayout, readOnly };

// True when `folder` holds exactly the layout: bin/ with only `program` (an executable file) in it,
// and nothing at the top but bin/, libexec/ and share/.
bool isOwnLayout(const QString &folder, const QString &program);

// The install folder of the running program at `executable` (…/PREFIX/bin/NAME), or why it cannot update.
std::variant<QString, Refusal> updatableFolder(const QString &executable);

// The helper that swaps two folders in one step, inside an install folder.
QString exchangeHelper(const QString &folder);

// The version of the program a folder of the layout holds, as written when the program was built
// (share/ostrel/version); empty when it says none.
QString version(const QString &folder);

} // namespace InstallLayout
