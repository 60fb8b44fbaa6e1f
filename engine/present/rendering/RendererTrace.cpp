#include "rendering/RendererTrace.h"

#include "rendering/LineStyles.h"

namespace {

RendererTraceHook traceHook = nullptr;
void* traceUser = nullptr;

} // namespace

void setRendererTrace(RendererTraceHook hook, void* user) {
    traceHook = hook;
    traceUser = hook ? user : nullptr;
}

bool rendererTraced() {
    return traceHook != nullptr;
}

void traceRendererCall(const RendererCall& call) {
    if (traceHook) traceHook(call, traceUser);
}

TracedMarker traceMarker(const TLineMarker& m) {
    TracedMarker t;
    t.kind = m.kind;
    t.flags = m.flags;
    t.colour = m.colour;
    t.character = m.character;
    t.font = m.font;
    t.count = m.count;
    t.size = m.size;
    t.hasText = m.text != nullptr;
    if (m.text) t.text = m.text;
    return t;
}
