#pragma once

#include <gumbo.h>

#include <array>
#include <chrono>
#include <csetjmp>
#include <cstddef>
#include <cstdint>

// The memory of one gumbo parse. Everything gumbo allocates comes from here
// and is given back at once when the arena is cleared or ends, so the parse
// tree is never freed node by node (gumbo does that recursively, which a
// deeply nested page turns into a stack overflow). Whole chunks go back to
// the system, so a large page leaves no memory behind.
//
// Limits stop a parse that runs away: gumbo takes time that grows with the
// square of the nesting depth on some pages, and it does not survive running
// out of memory. When the parse passes its time or its memory limit, the
// allocator leaves gumbo through a long jump back into parse() and the arena
// drops everything the parse had allocated.
class GumboArena final
{
public:
    enum class Outcome { Parsed, OutOfTime, OutOfMemory };

    GumboArena(std::size_t memory_limit, std::chrono::steady_clock::time_point deadline);
    ~GumboArena();
    GumboArena(const GumboArena &) = delete;
    GumboArena &operator=(const GumboArena &) = delete;

    // Parses UTF-8 text; the text must outlive the tree. Returns no tree when
    // a limit was hit (see outcome()). A tree lives until clear() or the
    // arena's end.
    GumboOutput *parse(const char *text, std::size_t size);
    Outcome outcome() const { return m_outcome; }

    // Gives back everything allocated so far.
    void clear();

    // The most memory the arena held at one time, in bytes.
    std::size_t peak_bytes() const { return m_peak; }

private:
    struct Chunk;
    struct LargeBlock;

    static void *allocate(void *arena, std::size_t size);
    static void deallocate(void *arena, void *block);
    void *take(std::size_t size);
    void give_back(void *block);
    void *take_from_chunk(std::size_t bytes);
    void account(std::size_t bytes);
    [[noreturn]] void stop(Outcome outcome);

    std::size_t m_memory_limit;
    std::chrono::steady_clock::time_point m_deadline;
    Outcome m_outcome = Outcome::Parsed;
    std::jmp_buf m_escape;
    std::uint64_t m_allocations = 0;
    std::size_t m_held = 0;
    std::size_t m_peak = 0;

    // Small blocks are carved out of chunks and recycled through one free
    // list per size class; large ones get their own mapping.
    static constexpr std::size_t kClasses = 72;
    std::array<void *, kClasses> m_free {};
    Chunk *m_chunks = nullptr;
    char *m_cursor = nullptr;
    char *m_limit = nullptr;
    LargeBlock *m_large = nullptr;
};
