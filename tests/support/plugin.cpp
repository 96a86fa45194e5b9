#include "support/plugin.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace vivo::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    for (;;) {
        fs::path candidate = fs::temp_directory_path() /
                             ("vivo-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
        if (fs::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

fs::path TempDir::Write(const std::string& name, const std::string& content) const {
    fs::path file = path_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return file;
}

Plugin::Plugin(const fs::path& file) {
    std::string error;
    library_ = platform::OpenSharedLibrary(file.string(), &error);
    if (library_ == nullptr) ADD_FAILURE() << "cannot load " << file << ": " << error;
}

Plugin::~Plugin() {
    if (library_ != nullptr) platform::CloseSharedLibrary(library_);
}

void* Plugin::Symbol(const char* name) const {
    void* symbol = library_ != nullptr ? platform::FindSymbol(library_, name) : nullptr;
    if (symbol == nullptr) throw std::runtime_error(std::string("export missing: ") + name);
    return symbol;
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path BuiltPluginFile() { return fs::path(VIVO_PLUGIN_FILE); }

fs::path CopyPluginInto(const TempDir& dir) {
    fs::path copy = dir.path() / BuiltPluginFile().filename();
    fs::copy_file(BuiltPluginFile(), copy, fs::copy_options::overwrite_existing);
    return copy;
}

}  // namespace vivo::test
