// A gauge module broken in one way, for the host's load checks. Built once
// per fault with one of these defined:
//   BADMOD_NO_END     the gauge list fills all its slots, no null entry
//   BADMOD_MODULE_ID  Linkage carries a module id that is not a gauge module's
//   BADMOD_NO_ROOT    the gauge's first element is a needle, not a static image
//   BADMOD_CYCLE      an element lists its own parent as a child
//   BADMOD_DEEP       a chain of elements far deeper than any gauge's tree
// Without a define it is a sound one-gauge module.
#include "frame/module_frame.h"

namespace badmod {
namespace {

extern GaugeHeader header;

[[maybe_unused]] double needle_cb(Element *) {
  return 0;
}

#if defined(BADMOD_NO_ROOT)
NeedleElement first = {
    .element = {.kind = kElementNeedle, .resource_id = 0x101, .gauge = &header},
    .callback = needle_cb
};
Element *roots[] = {&first.element, nullptr};
#elif defined(BADMOD_DEEP)
// Linked into a chain by a static initialiser, which runs when the file is
// mapped, before the host reads the tables.
constexpr int kChainLength = 1000;
StaticImageElement chain[kChainLength];
Element *chain_children[kChainLength][2];
bool link_chain() {
  for (int i = 0; i < kChainLength; ++i) {
    chain[i].element = {.kind = kElementStaticImage, .resource_id = 0x100, .gauge = &header};
    if (i + 1 < kChainLength) {
      chain_children[i][0] = &chain[i + 1].element;
      chain[i].element.children = chain_children[i];
    }
  }
  return true;
}
const bool chain_linked = link_chain();
Element *roots[] = {&chain[0].element, nullptr};
#else
extern StaticImageElement root;
#if defined(BADMOD_CYCLE)
extern Element *inner_children[];
#else
Element *inner_children[] = {nullptr};
#endif
NeedleElement inner = {
    .element = {.kind = kElementNeedle,
                .resource_id = 0x101,
                .gauge = &header,
                .children = inner_children},
    .callback = needle_cb
};
Element *root_children[] = {&inner.element, nullptr};
StaticImageElement root = {
    .element = {.kind = kElementStaticImage,
                .resource_id = 0x100,
                .gauge = &header,
                .children = root_children}
};
#if defined(BADMOD_CYCLE)
Element *inner_children[] = {&root.element, nullptr};
#endif
Element *roots[] = {&root.element, nullptr};
#endif

MouseRectangle mouse[] = {
    {.kind = kMouseParent, .cursor = -1},
    {.kind = kMouseEndParent                   },
};
GaugeHeader header = {GAUGE_HEADER_COMMON("broken", roots), .default_size = 100,
                      .mouse_list = mouse};

} // namespace
} // namespace badmod

#if defined(BADMOD_MODULE_ID)
constexpr uint32_t kLinkageModuleId = 0x12;
#else
constexpr uint32_t kLinkageModuleId = kModuleId;
#endif

#if defined(BADMOD_NO_END)
#define GAUGE_LIST                                                                                 \
  {                                                                                                \
    &badmod::header, &badmod::header, &badmod::header, &badmod::header, &badmod::header,           \
        &badmod::header, &badmod::header, &badmod::header, &badmod::header, &badmod::header,       \
        &badmod::header, &badmod::header, &badmod::header, &badmod::header, &badmod::header,       \
        &badmod::header                                                                            \
  }
#else
#define GAUGE_LIST                                                                                 \
  { &badmod::header, nullptr }
#endif

GAUGE_EXPORT LinkageRecord Linkage = {
    .module_id = kLinkageModuleId,
    .start = frame::module_start,
    .stop = frame::module_stop,
    .link_version = 0x900,
    .gauges = GAUGE_LIST,
};
