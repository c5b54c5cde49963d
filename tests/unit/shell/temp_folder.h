// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempFolder {
public:
    TempFolder()
    {
        static std::atomic<int> counter{0};
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0;; ++attempt) {
            path_ = base / ("tolvi-test-" + std::to_string(Stamp()) + "-" + std::to_string(counter++));
            std::error_code error;
            if (std::filesystem::create_directory(path_, error) || attempt > 100) break;
        }
    }
    ~TempFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

    static std::string Read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void Write(const std::string& file, const std::string& text)
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << text;
    }

private:
    static long long Stamp()
    {
        return static_cast<long long>(std::filesystem::file_time_type::clock::now().time_since_epoch().count());
    }
    std::filesystem::path path_;
};
