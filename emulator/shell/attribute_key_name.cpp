#include "shell/attribute_key_name.h"

bool AttributeKeyName::BuildWords(int attributes, const char* separator)
{
    name_.clear();
    auto add = [&](const char* word) {
        name_ += word;
        name_ += separator;
    };
    if (attributes & 0x20)
        add("Protected");  // never together with Numeric
    else if (attributes & 0x10)
        add("Numeric");
    else if (attributes == 0)
        add("Normal");
    if (attributes & 0x08) add("Blinking");
    if (attributes & 0x01) add("Bold");
    if (attributes & 0x02) add("Reversed");
    if (attributes & 0x04) add("Underline");
    return name_.empty();
}

const std::string& AttributeKeyName::BuildLabel(int attributes)
{
    BuildWords(attributes, " ");
    return name_;
}

const std::string& AttributeKeyName::BuildFgKey(int attributes)
{
    BuildWords(attributes, "");
    name_ += "FgColor";
    return name_;
}

const std::string& AttributeKeyName::BuildBgKey(int attributes)
{
    BuildWords(attributes, "");
    name_ += "BgColor";
    return name_;
}
