#include "controls/menu_text.h"

#include <algorithm>

namespace controls {

namespace {

// Lower case for the letters a mnemonic may be: ASCII, Latin-1 and the full-width Latin
// letters of East Asian fonts.
wchar_t Lower(wchar_t c)
{
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<wchar_t>(c + 0x20);
    if (c >= 0xFF21 && c <= 0xFF3A)
        return static_cast<wchar_t>(c + 0x20);
    return c;
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = Lower(c);
    return text;
}

} // namespace

MenuTextParts SplitMenuText(const std::wstring& text)
{
    MenuTextParts parts;
    const std::size_t first = text.find(L'\t');
    if (first == std::wstring::npos) {
        parts.label = text;
        return parts;
    }
    parts.hasTab = true;
    parts.label = text.substr(0, first);
    parts.shortcut = text.substr(text.rfind(L'\t') + 1);
    return parts;
}

void AlignShortcutColumn(std::vector<std::wstring>& texts,
                         const std::function<int(const std::wstring&)>& measure)
{
    int widest = 0;
    for (const std::wstring& text : texts)
        widest = std::max(widest, measure(text.substr(0, text.find(L'\t')) + L" "));
    for (std::wstring& text : texts) {
        const std::size_t tab = text.find(L'\t');
        if (tab == std::wstring::npos)
            continue;
        std::wstring label = text.substr(0, tab);
        // A space always widens the label in a real font; the bound only stops a font
        // whose space has no width from padding for ever.
        for (int width = measure(label); width < widest;) {
            label += L' ';
            const int wider = measure(label);
            if (wider <= width)
                break;
            width = wider;
        }
        text = label + text.substr(tab);
    }
}

int FindMnemonic(const std::vector<std::wstring>& texts, wchar_t ch)
{
    const std::wstring key = std::wstring(L"&") + Lower(ch);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (Lower(texts[i]).find(key) != std::wstring::npos)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace controls
