#pragma once

// Many small texts that live as long as one piece of work, kept side by side
// in large blocks: one allocation per block instead of one per text. The
// views it hands out stay valid while the arena lives, also after a move.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace tessaly {

class TextArena {
public:
    std::string_view Keep(std::string_view text)
    {
        if (text.size() > room_) {
            NewBlock(text.size());
        }
        char* const at = next_;
        std::memcpy(at, text.data(), text.size());
        next_ += text.size();
        room_ -= text.size();
        return {at, text.size()};
    }

private:
    static constexpr std::size_t kBlockSize = std::size_t{64} << 10;

    void NewBlock(std::size_t atLeast)
    {
        const std::size_t size = std::max(atLeast, kBlockSize);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        next_ = blocks_.back().get();
        room_ = size;
    }

    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    std::size_t room_ = 0;
};

} // namespace tessaly
