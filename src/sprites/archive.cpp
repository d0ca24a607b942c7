#include "sprites/archive.h"

#include <algorithm>
#include <array>
#include <list>
#include <map>
#include <utility>

#include "sprites/decode.h"
#include "sprites/index.h"
#include "sprites/limits.h"

namespace tavrix {
namespace {

using K = SpriteFaultKind;

constexpr std::array<std::uint8_t, 12> kSignature = {0x45, 0x6C, 0x65, 0x63, 0x62, 0x79,
                                                     0x74, 0x65, 0x53, 0x70, 0x72, 0x00};
constexpr std::uint64_t kMajorVersionAt = 15;

std::uint64_t bytes_of(const Picture& picture) {
    return picture.rgba.size() + sizeof(Picture);
}

}  // namespace

struct SpriteArchive::State {
    std::unique_ptr<ByteSource> source;
    int version = 0;
    std::vector<IndexEntry> entries;
    std::vector<SpriteInfo> sprites;
    std::vector<std::pair<SpriteKey, std::uint32_t>> by_key;  // sorted, the first of a key

    struct Kept {
        std::shared_ptr<const Picture> picture;
        std::list<SpriteKey>::iterator use;
    };
    std::map<SpriteKey, Kept> kept;
    std::list<SpriteKey> uses;  // the most recently drawn first
    std::map<SpriteKey, SpriteFault> refused;
    std::uint64_t kept_bytes = 0;
    std::uint64_t kept_limit = kMaxKeptBytes;

    const IndexEntry* find(SpriteKey key) const {
        const auto found = std::lower_bound(by_key.begin(), by_key.end(), key,
                                            [](const std::pair<SpriteKey, std::uint32_t>& entry,
                                               SpriteKey k) { return entry.first < k; });
        return found != by_key.end() && found->first == key ? &entries[found->second] : nullptr;
    }

    void make_room(std::uint64_t bytes) {
        while (!uses.empty() && kept_bytes + bytes > kept_limit) {
            const auto oldest = kept.find(uses.back());
            kept_bytes -= bytes_of(*oldest->second.picture);
            kept.erase(oldest);
            uses.pop_back();
        }
    }

    void keep(SpriteKey key, std::shared_ptr<const Picture> picture) {
        const std::uint64_t bytes = bytes_of(*picture);
        if (bytes > kept_limit)
            return;
        make_room(bytes);
        uses.push_front(key);
        kept.emplace(key, Kept{std::move(picture), uses.begin()});
        kept_bytes += bytes;
    }
};

SpriteArchive::SpriteArchive(std::unique_ptr<State> state) : state_(std::move(state)) {}
SpriteArchive::SpriteArchive(SpriteArchive&&) noexcept = default;
SpriteArchive& SpriteArchive::operator=(SpriteArchive&&) noexcept = default;
SpriteArchive::~SpriteArchive() = default;

Expected<SpriteArchive, SpriteFault> SpriteArchive::open(std::unique_ptr<ByteSource> source) {
    std::array<std::uint8_t, kSignature.size() + 4> start{};
    const auto have =
        static_cast<std::size_t>(std::min<std::uint64_t>(source->size(), start.size()));
    if (!source->read(0, std::span(start).first(have)))
        return unreadable_fault();
    if (have == 0 || !std::equal(start.begin(), start.begin() + std::min(have, kSignature.size()),
                                 kSignature.begin()))
        return archive_fault(K::NotAnArchive, 0);
    if (have < start.size())
        return archive_fault(K::Truncated, have);
    auto state = std::make_unique<State>();
    state->version = start[kMajorVersionAt];
    if (state->version != 1 && state->version != 2)
        return archive_fault(K::UnknownVersion, kMajorVersionAt);
    auto entries = state->version == 1 ? read_index_v1(*source) : read_index_v2(*source);
    if (!entries.ok())
        return entries.error();
    state->source = std::move(source);
    state->entries = std::move(entries.value());
    state->sprites.reserve(state->entries.size());
    state->by_key.reserve(state->entries.size());
    for (std::uint32_t i = 0; i < state->entries.size(); ++i) {
        state->sprites.push_back(state->entries[i].info);
        state->by_key.emplace_back(state->entries[i].info.key, i);
    }
    std::stable_sort(state->by_key.begin(), state->by_key.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const auto repeated =
        std::unique(state->by_key.begin(), state->by_key.end(),
                    [](const auto& a, const auto& b) { return a.first == b.first; });
    state->by_key.erase(repeated, state->by_key.end());
    return SpriteArchive(std::move(state));
}

int SpriteArchive::version() const noexcept {
    return state_->version;
}

const std::vector<SpriteInfo>& SpriteArchive::sprites() const noexcept {
    return state_->sprites;
}

Expected<std::shared_ptr<const Picture>, SpriteFault> SpriteArchive::picture(SpriteKey key) {
    State& state = *state_;
    if (const auto kept = state.kept.find(key); kept != state.kept.end()) {
        state.uses.splice(state.uses.begin(), state.uses, kept->second.use);
        return kept->second.picture;
    }
    if (const auto refused = state.refused.find(key); refused != state.refused.end())
        return refused->second;
    const IndexEntry* entry = state.find(key);
    if (!entry) {
        SpriteFault missing;
        missing.kind = K::NoSuchSprite;
        missing.place = FaultPlace::Sprite;
        missing.key = key;
        return missing;
    }
    auto decoded = decode_sprite(*state.source, *entry);
    if (!decoded.ok()) {
        state.refused.emplace(key, decoded.error());
        return decoded.error();
    }
    auto picture = std::make_shared<const Picture>(std::move(decoded.value()));
    state.keep(key, picture);
    return picture;
}

void SpriteArchive::set_kept_limit(std::uint64_t bytes) {
    state_->kept_limit = bytes;
    state_->make_room(0);
}

std::uint64_t SpriteArchive::kept_bytes() const noexcept {
    return state_->kept_bytes;
}

Expected<SpriteArchive, SpriteFault> open_sprite_archive(std::string_view path) {
    auto source = open_file_source(path);
    if (source.ok())
        return SpriteArchive::open(std::move(source.value()));
    SpriteFault fault;
    fault.kind = source.error().not_found ? K::FileNotFound : K::FileUnreadable;
    fault.system_reason = source.error().reason;
    return fault;
}

}  // namespace tavrix
