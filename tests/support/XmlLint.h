#pragma once

// XML written by the program, read back by xmllint (libxml2-utils): a
// parser of its own, so that well-formedness and the texts it reads are not
// judged by the code that wrote them.

#include <string>
#include <string_view>

namespace tessaly::test {

// Elements named by their local names from the document element, whatever
// their namespace: "feed/entry/id".
std::string LocalPath(std::string_view names);

class XmlLint {
public:
    explicit XmlLint(std::string_view xml);
    ~XmlLint();
    XmlLint(const XmlLint&) = delete;
    XmlLint& operator=(const XmlLint&) = delete;

    // What xmllint says when the text is not well-formed; empty when it is.
    std::string Errors() const;

    // The value of an XPath expression ("string(...)", "count(...)").
    std::string Value(const std::string& expression) const;

private:
    std::string file_;
};

} // namespace tessaly::test
