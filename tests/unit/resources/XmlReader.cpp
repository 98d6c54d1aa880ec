#include "XmlReader.h"

#include <cctype>
#include <string_view>

namespace restest {
namespace {

class XmlParser {
 public:
  explicit XmlParser(const std::string& text) : text_(text) {}

  std::unique_ptr<XmlElement> Parse() {
    if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
    if (text_.compare(pos_, 5, "<?xml") == 0) Skip("?>");
    SkipMisc();
    if (!Starts("<")) Fail("no root element");
    std::unique_ptr<XmlElement> root = Element({{"xml", "http://www.w3.org/XML/1998/namespace"}});
    SkipMisc();
    if (pos_ != text_.size()) Fail("content after the root element");
    return root;
  }

 private:
  using Scope = std::map<std::string, std::string>;  // prefix ("" for the default) to namespace

  [[noreturn]] void Fail(const std::string& message) const {
    throw XmlError("manifest byte " + std::to_string(pos_) + ": " + message);
  }
  bool Starts(const char* prefix) const {
    return text_.compare(pos_, std::char_traits<char>::length(prefix), prefix) == 0;
  }
  void Skip(const char* terminator) {
    size_t end = text_.find(terminator, pos_);
    if (end == std::string::npos) Fail(std::string("missing ") + terminator);
    pos_ = end + std::char_traits<char>::length(terminator);
  }
  void SkipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  void SkipMisc() {
    while (true) {
      SkipSpace();
      if (Starts("<!--")) {
        Skip("-->");
      } else {
        return;
      }
    }
  }
  std::string Name() {
    size_t start = pos_;
    while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) ||
                                   std::string_view("_:-.").find(text_[pos_]) != std::string_view::npos)) {
      ++pos_;
    }
    if (pos_ == start) Fail("expected a name");
    return text_.substr(start, pos_ - start);
  }
  std::string Unescape(const std::string& raw) {
    static const std::map<std::string, char> entities{
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] == '<') Fail("'<' in text");
      if (raw[i] != '&') {
        out.push_back(raw[i]);
        continue;
      }
      size_t end = raw.find(';', i);
      if (end == std::string::npos) Fail("unterminated entity");
      auto entity = entities.find(raw.substr(i + 1, end - i - 1));
      if (entity == entities.end()) Fail("unknown entity");
      out.push_back(entity->second);
      i = end;
    }
    return out;
  }
  static std::pair<std::string, std::string> Split(const std::string& qualified) {
    size_t colon = qualified.find(':');
    if (colon == std::string::npos) return {"", qualified};
    return {qualified.substr(0, colon), qualified.substr(colon + 1)};
  }

  std::unique_ptr<XmlElement> Element(Scope scope) {
    ++pos_;  // '<'
    std::string qualified = Name();
    std::vector<std::pair<std::string, std::string>> rawAttributes;
    while (true) {
      SkipSpace();
      if (pos_ >= text_.size()) Fail("unterminated start tag");
      if (Starts("/>") || Starts(">")) break;
      std::string name = Name();
      SkipSpace();
      if (!Starts("=")) Fail("expected '=' after " + name);
      ++pos_;
      SkipSpace();
      if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) Fail("unquoted attribute");
      char quote = text_[pos_++];
      size_t end = text_.find(quote, pos_);
      if (end == std::string::npos) Fail("unterminated attribute");
      std::string value = Unescape(text_.substr(pos_, end - pos_));
      pos_ = end + 1;
      for (const auto& [existing, unused] : rawAttributes) {
        if (existing == name) Fail("duplicate attribute " + name);
      }
      rawAttributes.emplace_back(name, value);
    }
    auto element = std::make_unique<XmlElement>();
    for (const auto& [name, value] : rawAttributes) {
      if (name == "xmlns") {
        scope[""] = value;
      } else if (name.rfind("xmlns:", 0) == 0) {
        scope[name.substr(6)] = value;
      }
    }
    for (const auto& [name, value] : rawAttributes) {
      if (name == "xmlns" || name.rfind("xmlns:", 0) == 0) continue;
      auto [prefix, local] = Split(name);
      if (!prefix.empty() && !scope.count(prefix)) Fail("unbound prefix " + prefix);
      if (prefix.empty()) element->attributes[local] = value;
    }
    auto [prefix, local] = Split(qualified);
    auto uri = scope.find(prefix);
    if (uri == scope.end() && !prefix.empty()) Fail("unbound prefix " + prefix);
    element->namespaceUri = uri == scope.end() ? "" : uri->second;
    element->localName = local;
    if (Starts("/>")) {
      pos_ += 2;
      return element;
    }
    ++pos_;  // '>'
    while (true) {
      size_t next = text_.find('<', pos_);
      if (next == std::string::npos) Fail("unclosed element " + qualified);
      element->text += Unescape(text_.substr(pos_, next - pos_));
      pos_ = next;
      if (Starts("<!--")) {
        Skip("-->");
      } else if (Starts("</")) {
        pos_ += 2;
        std::string closing = Name();
        SkipSpace();
        if (closing != qualified) Fail("</" + closing + "> closes <" + qualified + ">");
        if (!Starts(">")) Fail("malformed end tag");
        ++pos_;
        return element;
      } else if (Starts("<?") || Starts("<!")) {
        Fail("unsupported markup");
      } else {
        element->children.push_back(Element(scope));
      }
    }
  }

  const std::string& text_;
  size_t pos_ = 0;
};

void Collect(const XmlElement& element, const std::string& uri, const std::string& name,
             std::vector<const XmlElement*>& found) {
  for (const auto& child : element.children) {
    if (child->namespaceUri == uri && child->localName == name) found.push_back(child.get());
    Collect(*child, uri, name, found);
  }
}

}  // namespace

std::vector<const XmlElement*> XmlElement::Descendants(const std::string& uri, const std::string& name) const {
  std::vector<const XmlElement*> found;
  Collect(*this, uri, name, found);
  return found;
}

std::vector<const XmlElement*> XmlElement::Children(const std::string& uri, const std::string& name) const {
  std::vector<const XmlElement*> found;
  for (const auto& child : children) {
    if (child->namespaceUri == uri && child->localName == name) found.push_back(child.get());
  }
  return found;
}

std::unique_ptr<XmlElement> ParseXml(const std::string& text) { return XmlParser(text).Parse(); }

}  // namespace restest
