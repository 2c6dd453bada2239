#include "controls/menu_template.h"

namespace controls {

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Word(unsigned& value)
    {
        if (m_pos > m_size || m_size - m_pos < 2)
            return false;
        value = static_cast<unsigned>(m_data[m_pos] | m_data[m_pos + 1] << 8);
        m_pos += 2;
        return true;
    }
    bool Text(std::wstring& text)
    {
        for (unsigned unit = 0;;) {
            if (!Word(unit))
                return false;
            if (unit == 0)
                return true;
            text += static_cast<wchar_t>(unit);
        }
    }
    void Skip(std::size_t bytes) { m_pos += bytes; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

} // namespace

std::vector<MenuTemplateItem> ParseMenuTemplate(const std::uint8_t* data, std::size_t size)
{
    std::vector<MenuTemplateItem> bar;
    Reader reader(data, size);
    unsigned version = 0, offset = 0;
    if (!reader.Word(version) || !reader.Word(offset))
        return bar;
    reader.Skip(offset);

    // The levels being filled, innermost last, each with its "closed" mark.
    struct Level {
        std::vector<MenuTemplateItem>* items;
        bool finished;
    };
    std::vector<Level> stack{{&bar, false}};
    while (!stack.empty()) {
        MenuTemplateItem item;
        unsigned flags = 0;
        if (!reader.Word(flags))
            break;
        item.flags = flags & ~kMenuEnd;
        if (!item.IsPopup() && !reader.Word(item.id))
            break;
        if (!reader.Text(item.text))
            break;
        const bool end = (flags & kMenuEnd) != 0;
        Level& top = stack.back();
        top.items->push_back(std::move(item));
        if (top.items->back().IsPopup()) {
            if (end)
                top.finished = true;
            stack.push_back({&top.items->back().items, false});
        } else {
            if (end)
                top.finished = true;
            while (!stack.empty() && stack.back().finished)
                stack.pop_back();
        }
    }
    return bar;
}

} // namespace controls
