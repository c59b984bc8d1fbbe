#include "movie_decoder.h"

#include <cerrno>
#include <cstring>

#include "base/byte_stream.h"
#include "base/file_bytes.h"
#include "base/strings.h"
#include "base/zlib_util.h"
#include "bitmap_decoder.h"
#include "shape_decoder.h"
#include "swf_records.h"

namespace quib::player {

namespace {

constexpr size_t HeaderPrefixSize = 8;  // signature, version, file length
constexpr uint64_t MaxInflateRatio = 1032;

enum TagCode : uint16_t {
    TagEnd = 0,
    TagShowFrame = 1,
    TagDefineShape = 2,
    TagRemoveObject = 5,
    TagSetBackgroundColor = 9,
    TagDoAction = 12,
    TagDefineBitsLossless = 20,
    TagDefineShape2 = 22,
    TagPlaceObject2 = 26,
    TagRemoveObject2 = 28,
    TagDefineShape3 = 32,
    TagDefineButton2 = 34,
    TagDefineBitsLossless2 = 36,
};

std::string tagText(uint16_t code, size_t offset) {
    return "tag " + std::to_string(code) + " alla posizione " + std::to_string(offset);
}

ButtonCharacter decodeButton2(SwfBitReader& in, uint16_t& id) {
    ButtonCharacter button;
    id = in.u16();
    in.u8();  // flags: track as menu
    const size_t actionOffsetPosition = in.position();
    uint16_t actionOffset = in.u16();
    for (;;) {
        uint8_t flags = in.u8();
        if (flags == 0)
            break;
        if (flags & 0x30)
            throw FormatError("pulsante con filtri o fusione non supportati");
        ButtonRecord record;
        record.hit = flags & 0x08;
        record.down = flags & 0x04;
        record.over = flags & 0x02;
        record.up = flags & 0x01;
        record.characterId = in.u16();
        record.depth = in.u16();
        record.matrix = readMatrix(in);
        skipColorTransformWithAlpha(in);
        button.records.push_back(record);
    }
    if (actionOffset == 0)
        return button;
    if (actionOffsetPosition + actionOffset != in.position())
        throw FormatError("scostamento delle azioni del pulsante " + std::to_string(id) + " errato");
    for (;;) {
        const size_t start = in.position();
        uint16_t size = in.u16();
        ButtonCondAction cond;
        cond.conditions = in.u16();
        cond.actions = readActions(in);
        button.actions.push_back(std::move(cond));
        if (size == 0)
            break;
        if (size < 4 || start + size > in.position() + in.remaining())
            throw FormatError("azione del pulsante " + std::to_string(id) + " di lunghezza errata");
        // The record size is authoritative: skip whatever follows the action list inside it.
        size_t next = start + size;
        if (next < in.position())
            throw FormatError("azione del pulsante " + std::to_string(id) + " troppo lunga");
        in.bytes(next - in.position());
    }
    return button;
}

PlaceCommand decodePlaceObject2(SwfBitReader& in) {
    PlaceCommand place;
    uint8_t flags = in.u8();
    place.depth = in.u16();
    place.move = flags & 0x01;
    if (flags & 0x02)
        place.characterId = in.u16();
    if (flags & 0x04)
        place.matrix = readMatrix(in);
    // Colour transform, ratio, name, clip depth and clip actions do not change what we draw.
    return place;
}

void decodeTags(SwfBitReader& in, MovieData& movie) {
    MovieFrame frame;
    bool ended = false;
    while (!in.atEnd()) {
        const size_t offset = in.position();
        uint16_t codeAndLength = in.u16();
        uint16_t code = codeAndLength >> 6;
        size_t length = codeAndLength & 0x3F;
        if (length == 0x3F)
            length = in.u32();
        if (length > in.remaining())
            throw FormatError(tagText(code, offset) + ": lunghezza " + std::to_string(length) +
                              " oltre la fine (" + std::to_string(in.remaining()) + " byte rimasti)");
        SwfBitReader body(in.bytes(length), length);
        try {
            switch (code) {
                case TagEnd:
                    ended = true;
                    break;
                case TagShowFrame:
                    movie.frames.push_back(std::move(frame));
                    frame = MovieFrame();
                    break;
                case TagSetBackgroundColor:
                    frame.commands.push_back(BackgroundCommand{readRgb(body)});
                    break;
                case TagDoAction:
                    frame.commands.push_back(ActionCommand{readActions(body)});
                    break;
                case TagPlaceObject2:
                    frame.commands.push_back(decodePlaceObject2(body));
                    break;
                case TagRemoveObject:
                    body.u16();
                    frame.commands.push_back(RemoveCommand{body.u16()});
                    break;
                case TagRemoveObject2:
                    frame.commands.push_back(RemoveCommand{body.u16()});
                    break;
                case TagDefineBitsLossless:
                case TagDefineBitsLossless2: {
                    BitmapCharacter bitmap;
                    uint16_t id = decodeLosslessBitmap(body, code == TagDefineBitsLossless2, bitmap);
                    movie.characters[id] = std::make_shared<const Character>(std::move(bitmap));
                    break;
                }
                case TagDefineShape:
                case TagDefineShape2:
                case TagDefineShape3: {
                    ShapeCharacter shape;
                    int version = code == TagDefineShape ? 1 : code == TagDefineShape2 ? 2 : 3;
                    uint16_t id = decodeShape(body, version, shape);
                    movie.characters[id] = std::make_shared<const Character>(std::move(shape));
                    break;
                }
                case TagDefineButton2: {
                    uint16_t id = 0;
                    ButtonCharacter button = decodeButton2(body, id);
                    movie.characters[id] = std::make_shared<const Character>(std::move(button));
                    break;
                }
                default:
                    break;  // tags we do not draw are skipped by their length
            }
        } catch (const FormatError& e) {
            throw FormatError(tagText(code, offset) + ": " + e.what());
        }
        if (ended)
            break;
    }
    // Commands after the last ShowFrame never reach the screen; an unterminated movie is accepted.
    if (movie.frames.empty())
        throw FormatError("il filmato non ha nessun frame");
}

}  // namespace

MovieData decodeMovie(const uint8_t* data, size_t size) {
    if (size < HeaderPrefixSize)
        throw FormatError("intestazione incompleta");
    const bool compressed = data[0] == 'C' && data[1] == 'W' && data[2] == 'S';
    if (!compressed && !(data[0] == 'F' && data[1] == 'W' && data[2] == 'S'))
        throw FormatError("non è un filmato (firma mancante)");

    MovieData movie;
    movie.version = data[3];
    const uint32_t fileLength =
        uint32_t(data[4]) | uint32_t(data[5]) << 8 | uint32_t(data[6]) << 16 | uint32_t(data[7]) << 24;
    if (fileLength < HeaderPrefixSize)
        throw FormatError("lunghezza del filmato non valida");

    std::vector<uint8_t> inflated;
    const uint8_t* rest = data + HeaderPrefixSize;
    size_t restSize = fileLength - HeaderPrefixSize;
    if (compressed) {
        size_t packedSize = size - HeaderPrefixSize;
        if (uint64_t(restSize) > uint64_t(packedSize) * MaxInflateRatio + 64)
            throw FormatError("lunghezza del filmato compresso oltre i suoi dati");
        inflated.resize(restSize);
        auto produced = zlibUncompress(rest, packedSize, inflated.data(), inflated.size());
        if (!produced || *produced != restSize)
            throw FormatError("dati compressi del filmato danneggiati");
        rest = inflated.data();
    } else if (fileLength > size) {
        throw FormatError("filmato troncato: l'intestazione dichiara " + std::to_string(fileLength) +
                          " byte, ce ne sono " + std::to_string(size));
    }

    SwfBitReader in(rest, restSize);
    try {
        movie.frameRect = readRect(in);
        uint16_t rate = in.u16();
        movie.frameRate = (rate >> 8) + (rate & 0xFF) / 256.0;
        movie.declaredFrameCount = in.u16();
    } catch (const FormatError&) {
        throw FormatError("intestazione incompleta");
    }
    if (movie.frameRect.width() <= 0 || movie.frameRect.height() <= 0)
        throw FormatError("dimensioni del filmato non valide");
    decodeTags(in, movie);
    return movie;
}

bool loadMovieBytes(const std::vector<uint8_t>& bytes, MovieData& movie, std::string& error) {
    try {
        movie = decodeMovie(bytes);
        return true;
    } catch (const FormatError& e) {
        error = std::string(quib::stringText(quib::str::UnexpectedFormat)) + " (" + e.what() + ")";
    } catch (const std::bad_alloc&) {
        error = "Memoria insufficiente per il filmato.";
    }
    return false;
}

bool loadMovieFile(const std::string& path, MovieData& movie, std::string& error) {
    // Regular files only: a device or a pipe would be read without end.
    std::vector<uint8_t> bytes;
    const quib::FileRead read = quib::readFileBytes(path, bytes);
    if (read == quib::FileRead::CannotOpen) {
        error = "Impossibile aprire il file " + path + ": " + std::strerror(errno);
        return false;
    }
    if (read != quib::FileRead::Ok) {
        error = path + ": " + quib::stringText(quib::str::UnexpectedFormat);
        return false;
    }
    if (!loadMovieBytes(bytes, movie, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace quib::player
