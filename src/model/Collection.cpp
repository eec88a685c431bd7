#include "Collection.h"

namespace {
const char *describe(CollectionError::Code code)
{
    switch (code) {
    case CollectionError::InvalidArgument:
        return "Invalid procedure call or argument";
    case CollectionError::OutOfRange:
        return "Subscript out of range";
    case CollectionError::DuplicateKey:
        return "This key is already associated with an element of this collection";
    }
    return "Collection error";
}
} // namespace

CollectionError::CollectionError(Code code)
    : std::runtime_error(describe(code))
    , m_code(code)
{ }
