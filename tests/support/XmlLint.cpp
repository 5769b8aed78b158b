#include "support/XmlLint.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include <unistd.h>

#include "support/TempDir.h"

namespace tessaly::test {

namespace {

struct PipeCloser {
    void operator()(FILE* pipe) const { ::pclose(pipe); }
};

// The standard output and error of a shell command.
std::string Output(const std::string& command)
{
    const std::unique_ptr<FILE, PipeCloser> pipe(::popen((command + " 2>&1").c_str(), "r"));
    if (!pipe) {
        throw std::runtime_error("cannot run " + command);
    }
    std::string output;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) {
        output.append(buffer, got);
    }
    return output;
}

} // namespace

std::string LocalPath(std::string_view names)
{
    std::string path;
    for (std::size_t start = 0; start <= names.size();) {
        const std::size_t end = std::min(names.find('/', start), names.size());
        path += "/*[local-name()=\"" + std::string(names.substr(start, end - start)) + "\"]";
        start = end + 1;
    }
    return path;
}

XmlLint::XmlLint(std::string_view xml)
{
    char pattern[] = "/tmp/tessaly-xml-XXXXXX";
    const int fd = ::mkstemp(pattern);
    if (fd < 0) {
        throw std::runtime_error("cannot create a temporary file");
    }
    ::close(fd);
    file_ = pattern;
    WriteFile(file_, xml);
}

XmlLint::~XmlLint()
{
    std::remove(file_.c_str());
}

std::string XmlLint::Errors() const
{
    return Output("xmllint --noout " + file_);
}

std::string XmlLint::Value(const std::string& expression) const
{
    std::string value = Output("xmllint --xpath '" + expression + "' " + file_);
    if (value.ends_with('\n')) {
        value.pop_back();
    }
    return value;
}

} // namespace tessaly::test
