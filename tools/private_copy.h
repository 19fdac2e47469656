#pragma once
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

// A private copy of the built resources in a fresh temporary folder, made the working
// directory while it lives, so the tools and tests that run the game never touch the
// build's files (its settings above all) or each other's. It holds the files named (paths
// inside _resources, or "*" for all the game's own); with none, an empty _resources folder.
// What a player left in a build's folder (settings, recorded runs) is never copied.
class PrivateCopy
{
  public:
    PrivateCopy(const std::string& resources, const std::string& tag,
                const std::vector<std::string>& files = {"*"})
    {
        namespace fs = std::filesystem;
        std::string pattern =
            (fs::temp_directory_path() / ("quindara-" + tag + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        dir_ = pattern;
        const fs::path into = dir_ / "_resources";
        fs::create_directories(into);
        for (const std::string& file : files) {
            if (file == "*") {
                for (const fs::directory_entry& e : fs::recursive_directory_iterator(resources))
                    if (e.is_regular_file() && isGameResource(e.path())) {
                        const fs::path to = into / fs::relative(e.path(), resources);
                        fs::create_directories(to.parent_path());
                        fs::copy_file(e.path(), to, fs::copy_options::overwrite_existing);
                    }
            } else {
                fs::create_directories((into / file).parent_path());
                fs::copy(fs::path(resources) / file, into / file, fs::copy_options::recursive);
            }
        }
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }
    ~PrivateCopy()
    {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(dir_, ignored);
    }
    // The kinds of file the build makes: pictures, sounds, fonts and the course.
    static bool isGameResource(const std::filesystem::path& file)
    {
        const std::string kind = file.extension().string();
        return kind == ".bmp" || kind == ".wav" || kind == ".ttf" || kind == ".lvl";
    }
    PrivateCopy(const PrivateCopy&) = delete;
    PrivateCopy& operator=(const PrivateCopy&) = delete;
    const std::filesystem::path& dir() const { return dir_; }

  private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};
