#include "platform/runtime/end.h"

#include <cstdio>
#include <cstdlib>

namespace vb {
namespace {
std::function<void()> &endHandler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

void End()
{
    if (endHandler()) {
        endHandler()();
        return;
    }
    std::fflush(nullptr);
    std::exit(0);
}

void SetEndHandler(std::function<void()> handler)
{
    endHandler() = std::move(handler);
}

} // namespace vb
