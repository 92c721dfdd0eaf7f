#include "WaveCheck.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace forms {
namespace {
constexpr qint64 tagBytes = 4;
constexpr qint64 chunkHeaderBytes = 8;
constexpr qint64 minimumFormatBytes = 16;

constexpr quint16 pcmFormat = 1;
constexpr std::array pcmBits{quint16{8}, quint16{16}, quint16{24}, quint16{32}};

struct Chunk
{
    QByteArray tag;
    quint32 size = 0;
};

bool readChunkHeader(QFile& file, Chunk& chunk)
{
    const QByteArray header = file.read(chunkHeaderBytes);
    if (header.size() != chunkHeaderBytes)
        return false;
    chunk.tag = header.left(tagBytes);
    chunk.size = qFromLittleEndian<quint32>(header.constData() + tagBytes);
    return true;
}

bool readsRiffWave(QFile& file)
{
    const QByteArray header = file.read(chunkHeaderBytes + tagBytes);
    return header.size() == chunkHeaderBytes + tagBytes && header.startsWith("RIFF")
           && header.mid(chunkHeaderBytes, tagBytes) == "WAVE";
}

struct Format
{
    quint16 tag = 0;
    quint16 channels = 0;
    quint32 rate = 0;
    quint16 blockAlign = 0;
    quint16 bits = 0;
};

Format parseFormat(const QByteArray& body)
{
    const char* at = body.constData();
    return {qFromLittleEndian<quint16>(at), qFromLittleEndian<quint16>(at + 2),
            qFromLittleEndian<quint32>(at + 4), qFromLittleEndian<quint16>(at + 12),
            qFromLittleEndian<quint16>(at + 14)};
}

// Float and extensible formats are valid WAV but Qt's decoder refuses them.
bool isDecodable(const Format& format)
{
    return format.tag == pcmFormat && std::ranges::find(pcmBits, format.bits) != pcmBits.end()
           && format.channels > 0 && format.rate > 0
           && format.blockAlign == format.channels * (format.bits / 8);
}

bool skip(QFile& file, quint32 size)
{
    // Chunks are padded to an even length.
    return file.seek(file.pos() + size + (size & 1u));
}
} // namespace

bool isPlayableWave(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !readsRiffWave(file))
        return false;

    Format format;
    Chunk chunk;
    while (readChunkHeader(file, chunk)) {
        if (chunk.tag == "fmt ") {
            const QByteArray body = file.read(minimumFormatBytes);
            if (chunk.size < minimumFormatBytes || body.size() != minimumFormatBytes)
                return false;
            format = parseFormat(body);
            if (!isDecodable(format) || !skip(file, chunk.size - minimumFormatBytes))
                return false;
        } else if (chunk.tag == "data") {
            return isDecodable(format) && chunk.size > 0 && chunk.size % format.blockAlign == 0
                   && chunk.size <= file.size() - file.pos();
        } else if (!skip(file, chunk.size)) {
            return false;
        }
    }
    return false;
}

} // namespace forms
