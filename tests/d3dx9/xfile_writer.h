// Writes X files for tests, in text or binary (32- or 64-bit floats) from the same calls, so
// that one mesh can be read back in every encoding.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace quorvane::tests {

enum class XEncoding {
    text,
    binary32,
    binary64
};

class XFileWriter {
public:
    explicit XFileWriter(XEncoding encoding) : encoding_(encoding)
    {
        const char* header = encoding == XEncoding::text       ? "xof 0302txt 0032"
                             : encoding == XEncoding::binary32 ? "xof 0302bin 0032"
                                                               : "xof 0302bin 0064";
        bytes_.assign(header, header + 16);
        if (encoding == XEncoding::text) {
            Text("\n");
        }
    }

    XFileWriter& Begin(const std::string& type, const std::string& name = "")
    {
        if (Text()) {
            Text(type + (name.empty() ? "" : " " + name) + " {\n");
        } else {
            Name(type);
            if (!name.empty()) {
                Name(name);
            }
            Token(10);
        }
        return *this;
    }

    XFileWriter& End()
    {
        if (Text()) {
            Text("}\n");
        } else {
            Token(11);
        }
        return *this;
    }

    XFileWriter& Reference(const std::string& name)
    {
        if (Text()) {
            Text("{ " + name + " }\n");
        } else {
            Token(10);
            Name(name);
            Token(11);
        }
        return *this;
    }

    XFileWriter& Dwords(std::initializer_list<std::uint32_t> values)
    {
        return Dwords(std::vector<std::uint32_t>(values));
    }
    XFileWriter& Dwords(const std::vector<std::uint32_t>& values)
    {
        if (Text()) {
            std::ostringstream out;
            for (std::size_t i = 0; i < values.size(); ++i) {
                out << values[i] << (i + 1 < values.size() ? "," : ";");
            }
            Text(out.str() + "\n");
        } else {
            Token(6);
            U32(static_cast<std::uint32_t>(values.size()));
            for (std::uint32_t v : values) {
                U32(v);
            }
        }
        return *this;
    }

    XFileWriter& Floats(std::initializer_list<float> values) { return Floats(std::vector<float>(values)); }
    XFileWriter& Floats(const std::vector<float>& values)
    {
        if (Text()) {
            std::ostringstream out;
            out.precision(9);
            for (std::size_t i = 0; i < values.size(); ++i) {
                out << values[i] << ";";
            }
            Text(out.str() + "\n");
        } else {
            Token(7);
            U32(static_cast<std::uint32_t>(values.size()));
            for (float v : values) {
                if (encoding_ == XEncoding::binary64) {
                    const double wide = v;
                    Raw(&wide, 8);
                } else {
                    Raw(&v, 4);
                }
            }
        }
        return *this;
    }

    XFileWriter& String(const std::string& value)
    {
        if (Text()) {
            Text("\"" + value + "\";\n");
        } else {
            Token(2);
            U32(static_cast<std::uint32_t>(value.size()));
            Raw(value.data(), value.size());
            Token(20);
        }
        return *this;
    }

    // Text only: anything verbatim (templates, comments).
    XFileWriter& Text(const std::string& text)
    {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return *this;
    }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    bool Text() const { return encoding_ == XEncoding::text; }
    void Raw(const void* data, std::size_t size)
    {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    void Token(std::uint16_t token) { Raw(&token, 2); }
    void U32(std::uint32_t value) { Raw(&value, 4); }
    void Name(const std::string& name)
    {
        Token(1);
        U32(static_cast<std::uint32_t>(name.size()));
        Raw(name.data(), name.size());
    }

    XEncoding encoding_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace quorvane::tests
