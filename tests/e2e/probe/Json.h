// A minimal JSON writer for the probe's reports: the driver parses them with
// Python's json module. Strings arrive as UTF-16 from the window system and
// leave as UTF-8.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class JsonWriter {
public:
    void BeginObject()
    {
        Separator();
        m_out += '{';
        m_first = true;
    }
    void EndObject()
    {
        m_out += '}';
        m_first = false;
    }
    void BeginArray()
    {
        Separator();
        m_out += '[';
        m_first = true;
    }
    void EndArray()
    {
        m_out += ']';
        m_first = false;
    }

    // Starts a member of the current object; the value follows.
    void Key(const char* name)
    {
        Separator();
        AppendQuoted(name);
        m_out += ':';
        m_first = true;   // the value itself takes no comma
    }

    void String(const std::wstring& text)
    {
        Separator();
        AppendQuoted(ToUtf8(text));
    }
    void String(const char* text)
    {
        Separator();
        AppendQuoted(text);
    }
    void Int(int64_t value)
    {
        Separator();
        m_out += std::to_string(value);
    }
    void Bool(bool value)
    {
        Separator();
        m_out += value ? "true" : "false";
    }
    void Null()
    {
        Separator();
        m_out += "null";
    }
    void Rect(const RECT& rc)
    {
        BeginArray();
        Int(rc.left);
        Int(rc.top);
        Int(rc.right);
        Int(rc.bottom);
        EndArray();
    }

    const std::string& Text() const { return m_out; }

    static std::string ToUtf8(const std::wstring& text)
    {
        if (text.empty()) {
            return {};
        }
        int32_t n =
            WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
        std::string out(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
        return out;
    }

private:
    void Separator()
    {
        if (!m_first) {
            m_out += ',';
        }
        m_first = false;
    }

    void AppendQuoted(const std::string& text)
    {
        m_out += '"';
        for (unsigned char c : text) {
            switch (c) {
            case '"': m_out += "\\\""; break;
            case '\\': m_out += "\\\\"; break;
            case '\n': m_out += "\\n"; break;
            case '\r': m_out += "\\r"; break;
            case '\t': m_out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    wsprintfA(buf, "\\u%04x", c);
                    m_out += buf;
                } else {
                    m_out += static_cast<char>(c);
                }
            }
        }
        m_out += '"';
    }

    std::string m_out;
    bool m_first = true;
};
