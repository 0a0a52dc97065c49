#include "serial/GbkText.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace {

// One conversion direction of glibc's iconv, closed on scope exit.
class Converter
{
public:
    Converter(const char *to, const char *from)
        : handle_(iconv_open(to, from))
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("No text conversion from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts the input; on a sequence it cannot convert it appends
    // replacement and skips skipLength(first byte) input bytes.
    template <typename SkipLength>
    QByteArray Convert(QByteArrayView input, QByteArrayView replacement, SkipLength skipLength)
    {
        QByteArray output(input.size() * 3 + 8, Qt::Uninitialized);
        char *in = const_cast<char *>(input.data());
        size_t inLeft = static_cast<size_t>(input.size());
        char *out = output.data();
        size_t outLeft = static_cast<size_t>(output.size());
        while (inLeft > 0) {
            if (iconv(handle_, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1))
                break;
            if (errno != EILSEQ && errno != EINVAL)
                throw std::runtime_error("Text conversion failed");
            // The output buffer has room for the worst case, replacements included.
            for (char c : replacement)
                *out++ = c;
            outLeft -= static_cast<size_t>(replacement.size());
            const size_t skip = std::min(inLeft, skipLength(static_cast<unsigned char>(*in)));
            in += skip;
            inLeft -= skip;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        output.truncate(out - output.data());
        return output;
    }

private:
    iconv_t handle_;
};

size_t Utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

bool IsGbkLeadByte(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}

} // namespace

QByteArray GbkFromString(QStringView text)
{
    Converter toGbk("GBK", "UTF-8");
    return toGbk.Convert(text.toUtf8(), "?", Utf8SequenceLength);
}

QString GbkToString(QByteArrayView gbk)
{
    Converter fromGbk("UTF-8", "GBK");
    const QByteArray utf8 = fromGbk.Convert(gbk, "\xEF\xBF\xBD", [](unsigned char) { return size_t{1}; });
    return QString::fromUtf8(utf8);
}

QByteArray GbkCut(QByteArrayView gbk, qsizetype n)
{
    qsizetype end = 0;
    while (end < gbk.size()) {
        const qsizetype width = IsGbkLeadByte(static_cast<unsigned char>(gbk[end])) ? 2 : 1;
        if (end + width > n)
            break;
        end += width;
    }
    return gbk.first(std::min(end, gbk.size())).toByteArray();
}

QByteArray GbkFit(QStringView text, qsizetype n, char pad)
{
    QByteArray fitted = GbkCut(GbkFromString(text), n);
    fitted.append(n - fitted.size(), pad);
    return fitted;
}
