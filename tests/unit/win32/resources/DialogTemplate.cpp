#include "DialogTemplate.h"
#include <cstring>

namespace resources_test {

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Ok() const { return m_ok; }
    uint16_t Word()
    {
        if (m_pos + 2 > m_size) {
            m_ok = false;
            return 0;
        }
        uint16_t v;
        std::memcpy(&v, m_data + m_pos, 2);
        m_pos += 2;
        return v;
    }
    uint32_t Dword() { return Word() | (uint32_t(Word()) << 16); }
    std::wstring String()
    {
        std::wstring s;
        for (uint16_t c = Word(); m_ok && c != 0; c = Word())
            s.push_back(wchar_t(c));
        return s;
    }
    NameOrOrdinal Field()
    {
        NameOrOrdinal f;
        const size_t start = m_pos;
        const uint16_t first = Word();
        if (first == 0xFFFF) {
            f.ordinal = Word();
        } else if (first != 0) {
            m_pos = start;
            f.text = String();
        }
        return f;
    }
    void AlignDword() { m_pos = (m_pos + 3) & ~size_t(3); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

}   // namespace

bool LoadDialogTemplate(UINT id, DialogTemplate& out)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (!res)
        return false;
    HGLOBAL loaded = LoadResource(module, res);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return false;
    Reader r(static_cast<const uint8_t*>(data), SizeofResource(module, res));

    DialogTemplate t;
    t.style = r.Dword();
    if (HIWORD(t.style) == 0xFFFF)
        return false;   // an extended template
    t.exStyle = r.Dword();
    const uint16_t count = r.Word();
    t.x = int16_t(r.Word());
    t.y = int16_t(r.Word());
    t.cx = int16_t(r.Word());
    t.cy = int16_t(r.Word());
    t.menu = r.Field();
    t.windowClass = r.Field();
    t.caption = r.String();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        t.typeface = r.String();
    }
    for (uint16_t i = 0; i < count && r.Ok(); ++i) {
        r.AlignDword();
        DialogItem item;
        item.style = r.Dword();
        item.exStyle = r.Dword();
        item.x = int16_t(r.Word());
        item.y = int16_t(r.Word());
        item.cx = int16_t(r.Word());
        item.cy = int16_t(r.Word());
        item.id = r.Word();
        item.windowClass = r.Field();
        item.text = r.Field();
        const uint16_t extra = r.Word();
        for (uint16_t b = 0; b < extra; b += 2)
            r.Word();
        t.items.push_back(item);
    }
    if (!r.Ok())
        return false;
    out = t;
    return true;
}

}   // namespace resources_test
