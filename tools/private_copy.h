#pragma once
#include <filesystem>
#include <string>
#include <unistd.h>

// The tools that run the game headless work on a private copy of the built resources, made
// the working directory while they run, so no settings file of the build is ever touched.
class PrivateCopy {
public:
    PrivateCopy(const std::string& resources, const std::string& tag)
        : dir_(std::filesystem::temp_directory_path() /
               ("quindara-" + tag + "-" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(dir_);
        std::filesystem::copy(resources, dir_ / "_resources",
                              std::filesystem::copy_options::recursive);
        std::filesystem::remove(dir_ / "_resources/config.dat");
        std::filesystem::current_path(dir_);
    }
    ~PrivateCopy()
    {
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
        std::filesystem::remove_all(dir_, ignored);
    }
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};
