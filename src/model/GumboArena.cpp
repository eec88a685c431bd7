#include "GumboArena.h"

#include <sys/mman.h>

#include <bit>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#define TRESSEL_ARENA_PER_BLOCK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TRESSEL_ARENA_PER_BLOCK 1
#endif
#endif

namespace {

// Under AddressSanitizer every block is its own allocation, so overruns and
// leaks stay visible to it.
#ifdef TRESSEL_ARENA_PER_BLOCK
constexpr bool kPerBlock = true;
#else
constexpr bool kPerBlock = false;
#endif

constexpr std::size_t kHeader = 16;
constexpr std::size_t kChunkBytes = std::size_t(1) << 20;
constexpr std::size_t kLargestSmall = std::size_t(1) << 16;
constexpr std::uint64_t kLargeClass = ~std::uint64_t(0);
// The clock is read once per this many allocations; gumbo allocates at
// least once per tag, so a runaway parse is noticed soon after its deadline.
constexpr std::uint64_t kClockEvery = 64;

// Classes 1 to 64 hold multiples of 16 bytes up to 1 KiB, classes 65 to 70
// powers of two up to 64 KiB.
std::uint64_t size_class(std::size_t size)
{
    if (size <= 1024)
        return size == 0 ? 1 : (size + 15) / 16;
    return 64 + (std::bit_width(size - 1) - 10);
}

std::size_t payload_bytes(std::uint64_t size_class)
{
    return size_class <= 64 ? size_class * 16 : std::size_t(1) << (size_class - 64 + 10);
}

std::uint64_t &class_of(void *block)
{
    return *reinterpret_cast<std::uint64_t *>(static_cast<char *>(block) - sizeof(std::uint64_t));
}

void *map_bytes(std::size_t bytes)
{
    if constexpr (kPerBlock)
        return std::malloc(bytes);
    // Chunks fill up at once, so their pages are mapped in one go rather
    // than fault by fault.
    void *memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    return memory == MAP_FAILED ? nullptr : memory;
}

void unmap_bytes(void *memory, std::size_t bytes)
{
    if constexpr (kPerBlock)
        std::free(memory);
    else
        munmap(memory, bytes);
}

} // namespace

struct GumboArena::Chunk
{
    Chunk *next;
    std::size_t bytes;
};

// Sits right before a large block; its last member is the class tag that
// every block carries in the 8 bytes before it.
struct GumboArena::LargeBlock
{
    LargeBlock *previous;
    LargeBlock *next;
    std::size_t bytes;
    std::uint64_t size_class;
};

GumboArena::GumboArena(std::size_t memory_limit, std::chrono::steady_clock::time_point deadline)
    : m_memory_limit(memory_limit)
    , m_deadline(deadline)
{ }

GumboArena::~GumboArena()
{
    clear();
}

GumboOutput *GumboArena::parse(const char *text, std::size_t size)
{
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &GumboArena::allocate;
    options.deallocator = &GumboArena::deallocate;
    options.userdata = this;
    // Recorded errors copy the whole stack of open elements each; nobody
    // reads them.
    options.max_errors = 0;
    m_outcome = Outcome::Parsed;
    // Only plain C frames of gumbo and the allocator lie between here and
    // the long jump of stop(), so no destructor is skipped.
    if (setjmp(m_escape) != 0) {
        clear();
        return nullptr;
    }
    return gumbo_parse_with_options(&options, text, size);
}

void GumboArena::clear()
{
    while (m_chunks) {
        Chunk *next = m_chunks->next;
        unmap_bytes(m_chunks, m_chunks->bytes);
        m_chunks = next;
    }
    while (m_large) {
        LargeBlock *next = m_large->next;
        unmap_bytes(m_large, m_large->bytes);
        m_large = next;
    }
    m_free.fill(nullptr);
    m_cursor = m_limit = nullptr;
    m_held = 0;
}

void *GumboArena::allocate(void *arena, std::size_t size)
{
    return static_cast<GumboArena *>(arena)->take(size);
}

void GumboArena::deallocate(void *arena, void *block)
{
    if (block)
        static_cast<GumboArena *>(arena)->give_back(block);
}

void *GumboArena::take(std::size_t size)
{
    if (++m_allocations % kClockEvery == 0 && std::chrono::steady_clock::now() > m_deadline)
        stop(Outcome::OutOfTime);

    if (kPerBlock || size > kLargestSmall) {
        if (size > m_memory_limit)
            stop(Outcome::OutOfMemory);
        const std::size_t bytes = sizeof(LargeBlock) + size;
        account(bytes);
        auto *large = static_cast<LargeBlock *>(map_bytes(bytes));
        if (!large)
            stop(Outcome::OutOfMemory);
        large->previous = nullptr;
        large->next = m_large;
        large->bytes = bytes;
        large->size_class = kLargeClass;
        if (m_large)
            m_large->previous = large;
        m_large = large;
        return large + 1;
    }

    const std::uint64_t index = size_class(size);
    if (void *block = m_free[index]) {
        m_free[index] = *static_cast<void **>(block);
        return block;
    }
    char *block = static_cast<char *>(take_from_chunk(kHeader + payload_bytes(index))) + kHeader;
    class_of(block) = index;
    return block;
}

void *GumboArena::take_from_chunk(std::size_t bytes)
{
    if (std::size_t(m_limit - m_cursor) < bytes) {
        account(kChunkBytes);
        auto *chunk = static_cast<Chunk *>(map_bytes(kChunkBytes));
        if (!chunk)
            stop(Outcome::OutOfMemory);
        chunk->next = m_chunks;
        chunk->bytes = kChunkBytes;
        m_chunks = chunk;
        m_cursor = reinterpret_cast<char *>(chunk) + kHeader;
        m_limit = reinterpret_cast<char *>(chunk) + kChunkBytes;
    }
    char *block = m_cursor;
    m_cursor += bytes;
    return block;
}

void GumboArena::give_back(void *block)
{
    const std::uint64_t index = class_of(block);
    if (index != kLargeClass) {
        *static_cast<void **>(block) = m_free[index];
        m_free[index] = block;
        return;
    }
    auto *large = static_cast<LargeBlock *>(block) - 1;
    if (large->previous)
        large->previous->next = large->next;
    else
        m_large = large->next;
    if (large->next)
        large->next->previous = large->previous;
    m_held -= large->bytes;
    unmap_bytes(large, large->bytes);
}

void GumboArena::account(std::size_t bytes)
{
    if (bytes > m_memory_limit - m_held)
        stop(Outcome::OutOfMemory);
    m_held += bytes;
    if (m_held > m_peak)
        m_peak = m_held;
}

void GumboArena::stop(Outcome outcome)
{
    m_outcome = outcome;
    std::longjmp(m_escape, 1);
}
