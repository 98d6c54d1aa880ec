// A small XML reader with namespaces, enough for an application manifest: elements, attributes,
// text, comments, the XML declaration and the five predefined entities. Input that is not
// well-formed (unclosed or mismatched tags, unbound prefixes, more than one root) throws XmlError,
// as the Windows loader refuses such a manifest.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace restest {

struct XmlError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct XmlElement {
  std::string namespaceUri;                       // resolved from xmlns / xmlns:prefix in scope
  std::string localName;                          // without prefix
  std::map<std::string, std::string> attributes;  // unprefixed attributes, xmlns declarations excluded
  std::string text;                               // character data directly inside, concatenated
  std::vector<std::unique_ptr<XmlElement>> children;

  // Every descendant (not this element) with this namespace and local name, in document order.
  std::vector<const XmlElement*> Descendants(const std::string& uri, const std::string& name) const;
  // The direct children with this namespace and local name.
  std::vector<const XmlElement*> Children(const std::string& uri, const std::string& name) const;
};

std::unique_ptr<XmlElement> ParseXml(const std::string& text);

}  // namespace restest
