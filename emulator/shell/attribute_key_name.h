// Words for a combination of character attributes: the configuration keys of the attribute
// colours ("BlinkingBoldFgColor") and the row labels of the colour dialogs ("Blinking Bold ").
#pragma once

#include <string>

class AttributeKeyName {
public:
    // Attribute bits: 0x01 Bold, 0x02 Reversed, 0x04 Underline, 0x08 Blinking, 0x10 Numeric,
    // 0x20 Protected (3270 only); none is Normal. Each call replaces the held name.
    const std::string& BuildLabel(int attributes);  // every word followed by one blank
    const std::string& BuildFgKey(int attributes);  // words run together, then "FgColor"
    const std::string& BuildBgKey(int attributes);  // words run together, then "BgColor"

    const std::string& Name() const { return name_; }

private:
    bool BuildWords(int attributes, const char* separator);
    std::string name_;
};
