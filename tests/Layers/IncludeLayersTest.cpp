// The application's folders form layers: each includes only the folders below it, so data flows one
// way and a newcomer can read the program from the bottom up.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Bottom first. The model library and the update kit lie below all of them.
const std::vector<std::string> layers = {
    "Platform", "State", "Theme", "NoteView", "NoteWindows", "NotchTray",
    "LibraryView", "SettingsView", "Welcome", "Shell", "Harness", "Start",
};

struct Include {
    fs::path from;
    fs::path to;
};

// Every `#include "…"` of the tree that names a file of the tree: looked up beside the including
// file first, then under each root, as the compiler does.
std::vector<Include> includesUnder(const std::vector<fs::path> &roots)
{
    static const std::regex quoted(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<Include> found;
    for (const fs::path &root : roots) {
        for (const auto &entry : fs::recursive_directory_iterator(root)) {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
                continue;
            std::ifstream in(entry.path());
            std::string line;
            std::smatch match;
            while (std::getline(in, line)) {
                if (!std::regex_search(line, match, quoted))
                    continue;
                std::vector<fs::path> candidates{entry.path().parent_path() / match[1].str()};
                for (const fs::path &other : roots)
                    candidates.push_back(other / match[1].str());
                const auto hit = std::find_if(candidates.begin(), candidates.end(),
                                              [](const fs::path &p) { return fs::exists(p); });
                if (hit != candidates.end())
                    found.push_back({entry.path(), hit->lexically_normal()});
            }
        }
    }
    return found;
}

// Which root a file lies under, and its layer's folder for the application root.
struct Place {
    fs::path root;
    std::string folder;
};

Place placeOf(const fs::path &file, const std::vector<fs::path> &roots)
{
    for (const fs::path &root : roots) {
        const fs::path relative = file.lexically_relative(root);
        if (relative.empty() || *relative.begin() == "..")
            continue;
        const bool nested = std::distance(relative.begin(), relative.end()) > 1;
        return {root, nested ? relative.begin()->string() : std::string()};
    }
    return {};
}

// Each include that breaks the layering, as "from -> to": into the application from a library root,
// from a layer into one not below it, or from a named layer into the application's top files.
std::vector<std::string> crossings(const fs::path &appRoot, const std::vector<fs::path> &libraryRoots)
{
    std::vector<fs::path> roots{appRoot};
    roots.insert(roots.end(), libraryRoots.begin(), libraryRoots.end());
    const auto rank = [](const std::string &folder) {
        return std::find(layers.begin(), layers.end(), folder) - layers.begin();
    };
    std::vector<std::string> wrong;
    for (const Include &include : includesUnder(roots)) {
        const Place from = placeOf(include.from, roots);
        const Place to = placeOf(include.to, roots);
        if (to.root != appRoot || (from.root == appRoot && from.folder == to.folder))
            continue;
        const bool fromTop = from.root == appRoot && from.folder.empty();
        const bool allowed = fromTop || (from.root == appRoot && !to.folder.empty() &&
                                         rank(to.folder) < rank(from.folder) &&
                                         rank(from.folder) < std::ssize(layers));
        if (!allowed)
            wrong.push_back(include.from.lexically_relative(appRoot.parent_path()).string() + " -> " +
                            include.to.lexically_relative(appRoot.parent_path()).string());
    }
    return wrong;
}

void write(const fs::path &file, const std::string &text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

} // namespace

TEST(IncludeLayers, EveryFolderOfTheApplicationIncludesOnlyTheLayersBelowIt)
{
    const fs::path source = BRINDLEWICK_SOURCE_DIR;
    const std::vector<std::string> wrong =
        crossings(source / "Brindlewick", {source / "BrindlewickCore", source / "OstrelKit"});
    std::string listed;
    for (const std::string &line : wrong)
        listed += line + "\n";
    EXPECT_TRUE(wrong.empty()) << "includes against the layers:\n" << listed;
    for (const auto &entry : fs::directory_iterator(source / "Brindlewick")) {
        const std::string folder = entry.path().filename().string();
        if (entry.is_directory()) {
            EXPECT_NE(std::find(layers.begin(), layers.end(), folder), layers.end()) << folder << " is in no layer";
        }
    }
}

// The check finds includes however they are spelt: beside the file, from a root, upwards, or a
// library reaching up into the application.
TEST(IncludeLayers, IncludesAgainstTheLayersAreFoundHoweverTheyAreSpelt)
{
    const fs::path tree = fs::temp_directory_path() / ("include-layers-" + std::to_string(::getpid()));
    const fs::path app = tree / "App";
    const fs::path core = tree / "Core";
    write(app / "main.cpp", "#include \"Start/Start.h\"\n");
    write(app / "Start/Start.h", "#include \"State/Model.h\"\n#include \"Shell/Menu.h\"\n");
    write(app / "Shell/Menu.h", "#include \"Note.h\"\n#include \"../State/Model.h\"\n");
    write(app / "State/Model.h", "#include \"Model2.h\"\n#include <vector>\n");
    write(app / "State/Model2.h", "// #include \"Shell/Menu.h\" is only a comment\n");
    write(core / "Note.h", "");
    EXPECT_TRUE(crossings(app, {core}).empty());

    write(app / "State/Model2.h", "#include \"Shell/Menu.h\"\n");
    write(app / "Theme/Paper.h", "  #  include \"../Start/Start.h\"\n");
    write(core / "Note.h", "#include \"State/Model.h\"\n");
    write(app / "Stray/Thing.h", "#include \"State/Model.h\"\n");
    std::vector<std::string> wrong = crossings(app, {core});
    std::sort(wrong.begin(), wrong.end());
    EXPECT_EQ(wrong, (std::vector<std::string>{
                         "App/State/Model2.h -> App/Shell/Menu.h",
                         "App/Stray/Thing.h -> App/State/Model.h",
                         "App/Theme/Paper.h -> App/Start/Start.h",
                         "Core/Note.h -> App/State/Model.h",
                     }));
    fs::remove_all(tree);
}
