#include "text_bytes.h"

size_t TextToBytes(uint8_t *buffer, const Q9Text &text, size_t limit)
{
    size_t n = 0;
    for (; n < limit && n < text.size(); ++n) {
        if (text[n] == L'\0')
            break;
        buffer[n] = static_cast<uint8_t>(static_cast<uint32_t>(text[n]) & 0xFFu);
    }
    buffer[n] = 0;
    return n;
}

Q9Text BytesToText(const uint8_t *bytes, size_t limit)
{
    Q9Text text;
    for (size_t n = 0; n < limit && bytes[n] != 0; ++n)
        text.push_back(static_cast<wchar_t>(bytes[n]));
    return text;
}

Q9Text BytesToStoredText(const uint8_t *bytes, size_t limit)
{
    Q9Text text = BytesToText(bytes, limit);
    text.push_back(L'\0');
    return text;
}

bool IsSevenBitAscii(const Q9Text &text)
{
    for (wchar_t ch : text) {
        if (static_cast<uint32_t>(ch) > 0x7Fu)
            return false;
    }
    return true;
}

Q9Text FixedWidthText(const uint8_t *bytes, size_t count)
{
    Q9Text text;
    for (size_t i = 0; i < count; ++i)
        text.push_back(static_cast<wchar_t>(bytes[i]));
    return text;
}
