// The sprite archive reader on archives the tests write: every coding decodes to the pixels
// written, and damage anywhere is refused, at opening or at drawing, with a named fault.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>

#include "sprites/archive.h"
#include "sprites/archive_path.h"
#include "support/sprite_writer.h"

namespace tavrix {
namespace {

using testing::ArchiveDraft;
using testing::SpriteDraft;
using Bytes = std::vector<std::uint8_t>;
using K = SpriteFaultKind;
using P = FaultPlace;

Expected<SpriteArchive, SpriteFault> open_bytes(Bytes bytes) {
    return SpriteArchive::open(std::make_unique<MemorySource>(std::move(bytes)));
}

struct RoundTrip {
    const char* name;
    std::function<ArchiveDraft()> archive;
    std::size_t sprite, holder, palette;  // of the draft
};

TEST(SpriteArchive, DecodesEveryPixelWritten) {
    const auto v1 = [] { return testing::busy_version1(false); };
    const auto v1_shared = [] { return testing::busy_version1(true); };
    const auto v2 = [] { return testing::busy_version2(); };
    const RoundTrip rows[] = {
        {"v1 own palette, odd width", v1, 0, 0, 0},
        {"v1 previous palette", v1, 1, 1, 0},
        {"v1 plain, long lines", v1, 2, 2, 1},
        {"v1 previous palette after a change", v1, 3, 3, 1},
        {"v1 linked, target's palette", v1, 4, 0, 0},
        {"v1 linked, previous palette", v1, 5, 2, 0},
        {"v1 shared palette", v1_shared, 3, 3, 0},
        {"v2 raw", v2, 0, 0, 0},
        {"v2 rle8", v2, 1, 1, 0},
        {"v2 rle5, linked palette", v2, 2, 2, 1},
        {"v2 lz5, translated block", v2, 3, 3, 0},
        {"v2 png indexes", v2, 4, 4, 0},
        {"v2 png rgb", v2, 5, 5, 0},
        {"v2 png rgba", v2, 6, 6, 0},
        {"v2 linked, own palette", v2, 7, 3, 1},
    };
    for (const RoundTrip& row : rows) {
        const ArchiveDraft draft = row.archive();
        auto archive = open_bytes(testing::write_archive(draft));
        ASSERT_TRUE(archive.ok()) << row.name << ": " << sprite_fault_text(archive.error());
        const SpriteDraft& written = draft.sprites[row.sprite];
        const auto picture = archive.value().picture(written.key);
        ASSERT_TRUE(picture.ok()) << row.name << ": " << sprite_fault_text(picture.error());
        const Picture expected = testing::expected_picture(written, draft.sprites[row.holder],
                                                           draft.palettes[row.palette]);
        EXPECT_EQ(picture.value()->width, expected.width) << row.name;
        EXPECT_EQ(picture.value()->height, expected.height) << row.name;
        EXPECT_EQ(picture.value()->axis_x, expected.axis_x) << row.name;
        EXPECT_EQ(picture.value()->rgba, expected.rgba) << row.name;
    }
}

// Field writers for damage at known places of the archives above.
void put(Bytes& bytes, std::size_t at, std::uint32_t value, int size = 4) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
std::uint32_t get(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           std::uint32_t{bytes[at + 3]} << 24;
}
std::size_t subheader(const Bytes& bytes, int index) {
    std::size_t at = 512;
    while (index-- > 0)
        at = get(bytes, at);
    return at;
}
constexpr std::size_t node(int index) {
    return 512 + 28 * index;
}
constexpr std::size_t palette_node(int index) {
    return node(8) + 16 * index;
}
std::size_t data_of(const Bytes& bytes, int index) {
    const std::size_t block = (bytes[node(index) + 26] & 1) != 0 ? 60 : 52;
    return get(bytes, block) + get(bytes, node(index) + 16);
}

struct Damage {
    const char* name;
    int version;
    std::function<void(Bytes&)> change;
    SpriteKey key{};  // the sprite drawn
};

// The line a person reads of each fault, pinned by a file of tests/sprites/ that holds
// "ROW: LINE" for each row. As every kind and place has words of its own (fault_words.txt),
// the line pins the fault's kind, place, sprite and byte.
void add_line(const Damage& row, const SpriteFault& fault, std::string& lines) {
    lines += std::string(row.name) + ": " + sprite_fault_text(fault) + "\n";
}

void expect_golden(const std::string& lines, const std::string& name) {
    std::ifstream file(TAVRIX_SOURCE_DIR "/tests/sprites/" + name);
    std::stringstream golden;
    golden << file.rdbuf();
    EXPECT_EQ(lines, golden.str()) << name;
}

Bytes damaged(const Damage& row) {
    Bytes bytes = testing::write_archive(row.version == 1 ? testing::busy_version1(false)
                                                          : testing::busy_version2());
    row.change(bytes);
    return bytes;
}

TEST(SpriteArchive, RefusesAtOpeningWhatDamagesTheWhole) {
    const Damage rows[] = {
        {"signature", 2, [](Bytes& b) { b[3] = 'X'; }},
        {"version 3", 2, [](Bytes& b) { b[15] = 3; }},
        {"header cut", 2, [](Bytes& b) { b.resize(40); }},
        {"v1 count over the limit", 1, [](Bytes& b) { put(b, 20, 70000); }},
        {"v1 count beyond the chain", 1, [](Bytes& b) { put(b, 20, 7); }},
        {"v1 next outside", 1, [](Bytes& b) { put(b, 512, 1u << 30); }},
        {"v1 data past the end", 1, [](Bytes& b) { put(b, 516, 1u << 20); }},
        {"v1 link to nowhere", 1, [](Bytes& b) { put(b, subheader(b, 4) + 16, 99, 2); }},
        {"v1 link loop", 1,
         [](Bytes& b) { put(b, subheader(b, 4) + 16, 5, 2), put(b, subheader(b, 5) + 16, 4, 2); }},
        {"v1 first takes the previous palette", 1, [](Bytes& b) { b[512 + 18] = 1; }},
        {"v1 four bits a pixel", 1, [](Bytes& b) { b[544 + 3] = 4; }},
        {"v1 line shorter than the width", 1, [](Bytes& b) { put(b, 544 + 66, 8, 2); }},
        {"v2 sprite count over the limit", 2, [](Bytes& b) { put(b, 40, 70000); }},
        {"v2 palette count beyond the file", 2, [](Bytes& b) { put(b, 48, 60000); }},
        {"v2 node table outside", 2, [](Bytes& b) { put(b, 36, 1u << 30); }},
        {"v2 literal block cut", 2,
         [](Bytes& b) { put(b, 56, static_cast<std::uint32_t>(b.size())); }},
        {"v2 data outside its block", 2, [](Bytes& b) { put(b, node(0) + 16, 1u << 30); }},
        {"v2 data running out of its block", 2, [](Bytes& b) { put(b, node(3) + 20, 1u << 30); }},
        {"v2 link to itself", 2, [](Bytes& b) { put(b, node(7) + 12, 7, 2); }},
        {"v2 link to nowhere", 2, [](Bytes& b) { put(b, node(7) + 12, 50, 2); }},
        {"v2 palette link to itself", 2, [](Bytes& b) { put(b, palette_node(2) + 6, 2, 2); }},
        {"v2 palette link to nowhere", 2, [](Bytes& b) { put(b, palette_node(2) + 6, 3, 2); }},
        {"v2 palette of 300 colours", 2, [](Bytes& b) { put(b, palette_node(0) + 4, 300, 2); }},
        {"v2 palette shorter than its colours", 2,
         [](Bytes& b) { put(b, palette_node(1) + 12, 60); }},
        {"v2 palette outside the block", 2,
         [](Bytes& b) { put(b, palette_node(1) + 8, 1u << 30); }},
        {"v2 palette that does not exist", 2, [](Bytes& b) { put(b, node(0) + 24, 3, 2); }},
    };
    std::string lines;
    for (const Damage& row : rows) {
        const auto archive = open_bytes(damaged(row));
        ASSERT_FALSE(archive.ok()) << row.name;
        add_line(row, archive.error(), lines);
    }
    expect_golden(lines, "opening_faults.txt");
}

TEST(SpriteArchive, RefusesAtDrawingWhatDamagesOneSprite) {
    const auto data = [](int sprite, std::size_t at, std::uint8_t value) {
        return [=](Bytes& b) { b[data_of(b, sprite) + at] = value; };
    };
    const Damage rows[] = {
        {"v2 60000 x 60000", 2,
         [](Bytes& b) { put(b, node(0) + 4, 60000, 2), put(b, node(0) + 6, 60000, 2); }},
        {"v2 raw too short", 2, [](Bytes& b) { put(b, node(0) + 20, get(b, node(0) + 20) - 1); }},
        {"v2 unknown format", 2, [](Bytes& b) { b[node(0) + 14] = 7; }},
        {"v2 stated length", 2, data(1, 0, 0xFF), {0, 1}},
        {"v2 rle8 cut short", 2, [](Bytes& b) { put(b, node(1) + 20, 30); }, {0, 1}},
        {"v2 rle5 cut short", 2, [](Bytes& b) { put(b, node(2) + 20, 30); }, {0, 2}},
        {"v2 lz5 copy before the first pixel", 2, data(3, 4, 0x01), {0, 3}},
        {"v2 png damaged", 2, data(5, 5, 'X'), {0, 5}},
        {"v2 png lies about its size", 2, [](Bytes& b) { put(b, node(5) + 4, 49, 2); }, {0, 5}},
        {"v2 png with too little image data for the size it states",
         2,
         [](Bytes& b) {
             put(b, node(6) + 4, 4096, 2), put(b, node(6) + 6, 4096, 2);
             for (const std::size_t at : {data_of(b, 6) + 20, data_of(b, 6) + 24})
                 put(b, at, 0x100000);  // 4096, big-endian
         },
         {0, 6}},
        {"v2 colour png as indexes", 2, [](Bytes& b) { b[node(5) + 14] = 10; }, {0, 5}},
        {"v2 png without its stated length", 2, [](Bytes& b) { put(b, node(6) + 20, 3); }, {0, 6}},
        {"v1 60000 wide", 1,
         [](Bytes& b) { put(b, 544 + 8, 59999, 2), put(b, 544 + 66, 60000, 2); }},
        {"v1 runs cut short", 1, [](Bytes& b) { put(b, 516, 128 + 768 + 3); }},
    };
    std::string lines;
    for (const Damage& row : rows) {
        auto archive = open_bytes(damaged(row));
        ASSERT_TRUE(archive.ok()) << row.name << ": " << sprite_fault_text(archive.error());
        const auto picture = archive.value().picture(row.key);
        ASSERT_FALSE(picture.ok()) << row.name;
        add_line(row, picture.error(), lines);
        EXPECT_EQ(sprite_fault_text(archive.value().picture(row.key).error()),
                  sprite_fault_text(picture.error()))
            << row.name << ", again";
    }
    expect_golden(lines, "drawing_faults.txt");
    auto archive = open_bytes(testing::write_archive(testing::busy_version2()));
    EXPECT_EQ(archive.value().picture({9, 9}).error().kind, K::NoSuchSprite);
}

// A changed byte anywhere is left to the fuzz target and its replay on variants of its seeds.
TEST(SpriteArchive, RefusesEveryPrefix) {
    for (const ArchiveDraft& draft : {testing::busy_version1(false), testing::busy_version2()}) {
        const Bytes bytes = testing::write_archive(draft);
        for (std::size_t size = 0; size < bytes.size(); ++size)
            ASSERT_FALSE(open_bytes(Bytes(bytes.begin(), bytes.begin() + size)).ok()) << size;
    }
}

TEST(SpriteArchive, KeepsWhatWasDrawnWithinItsLimit) {
    const ArchiveDraft draft = testing::busy_version2();
    auto archive = std::move(open_bytes(testing::write_archive(draft)).value());
    const auto first = archive.picture({0, 0}).value();
    EXPECT_EQ(archive.picture({0, 0}).value(), first);
    archive.set_kept_limit(archive.kept_bytes() * 2);
    for (std::uint16_t number = 1; number < 7; ++number)
        ASSERT_TRUE(archive.picture({0, number}).ok());
    EXPECT_LE(archive.kept_bytes(), (first->rgba.size() + sizeof(Picture)) * 2);
    const auto again = archive.picture({0, 0}).value();
    EXPECT_NE(again, first);
    EXPECT_EQ(again->rgba, first->rgba);
}

TEST(SpriteFaultText, PinsTheWordsOfEveryKind) {
    const std::pair<K, std::vector<P>> kinds[] = {
        {K::NotAnArchive, {P::Archive}},
        {K::UnknownVersion, {P::Archive}},
        {K::Truncated, {P::Archive, P::Sprite, P::Palette}},
        {K::OutsideFile, {P::Archive, P::Sprite, P::Palette}},
        {K::CountTooLarge, {P::Archive}},
        {K::LinkLoop, {P::Sprite, P::Palette}},
        {K::LinkToNowhere, {P::Sprite, P::Palette}},
        {K::SizeTooLarge, {P::Sprite}},
        {K::SizeMismatch, {P::Sprite}},
        {K::BadPixelData, {P::Sprite}},
        {K::BadPalette, {P::Sprite, P::Palette}},
        {K::PngRefused, {P::Sprite}},
        {K::NoSuchSprite, {P::Sprite}},
        {K::FileNotFound, {P::Archive}},
        {K::FileUnreadable, {P::Archive}},
    };
    std::string lines;
    for (const auto& [kind, places] : kinds) {
        for (const P place : places) {
            SpriteFault fault{
                kind, place, {0, 3}, 1234, 60000, 60000, "no hay permiso para leerlo"};
            if (kind >= K::NoSuchSprite)
                fault.offset.reset();
            lines += sprite_fault_text(fault) + "\n";
        }
    }
    expect_golden(lines, "fault_words.txt");
}

TEST(ArchivePath, IsFoundAsTheEngineFindsIt) {
    struct Row {
        const char* storyboard;
        const char* name;
        std::set<std::string> files;
        const char* found;
    };
    const Row rows[] = {
        {"data/intro.def", "intro.sff", {"data/intro.sff", "intro.sff"}, "data/intro.sff"},
        {"data/intro.def", "intro.sff", {"intro.sff"}, "intro.sff"},
        {"data/intro.def", "intro.sff", {}, "data/intro.sff"},
        {"intro.def", "sub\\intro.sff", {"sub/intro.sff"}, "sub/intro.sff"},
        {"data/intro.def", "/abs/intro.sff", {"data//abs/intro.sff"}, "/abs/intro.sff"},
        {"data/intro.def", "", {}, ""},
    };
    for (const Row& row : rows) {
        const auto exists = [&](std::string_view path) {
            return row.files.count(std::string(path)) > 0;
        };
        EXPECT_EQ(resolve_archive_path(row.storyboard, row.name, exists), row.found) << row.name;
    }
}

TEST(ByteSource, ReadsOnlyWithinItsSize) {
    constexpr std::uint64_t kMax = ~std::uint64_t{0};
    EXPECT_TRUE(range_fits(10, 0, 10));
    EXPECT_TRUE(range_fits(0, 10, 10));
    EXPECT_FALSE(range_fits(11, 0, 10));
    EXPECT_FALSE(range_fits(1, 10, 10));
    EXPECT_FALSE(range_fits(2, kMax, kMax));
    EXPECT_FALSE(range_fits(kMax, 2, kMax));

    const auto path = std::filesystem::temp_directory_path() / "tavrix-sprites-test.sff";
    const Bytes bytes = testing::write_archive(testing::busy_version2());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    auto file = open_sprite_archive(path.string());
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE(file.value().picture({0, 6}).ok());
    // A file that became shorter after it was opened is not read past its new end.
    std::filesystem::resize_file(path, 600);
    EXPECT_EQ(sprite_fault_text(file.value().picture({0, 5}).error()),
              "el archivo de sprites no se puede leer: la lectura falló o el archivo cambió "
              "mientras estaba abierto");
    std::filesystem::remove(path);
    EXPECT_EQ(open_sprite_archive(path.string()).error().kind, K::FileNotFound);
    const auto folder = open_sprite_archive(path.parent_path().string());
    EXPECT_EQ(folder.error().kind, K::FileUnreadable);
    EXPECT_EQ(folder.error().system_reason, "la ruta es una carpeta");
}

}  // namespace
}  // namespace tavrix
