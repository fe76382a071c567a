// The desktop's bell, in the sound module beside the sink lines: the sound theme's "bell" event,
// played by the event sound library through the sound server as desktop programs ring it.
#include "platform/bell.h"

#include <QtGlobal>

#include <canberra.h>

namespace platform {
namespace {

class ThemeBell final : public Bell {
public:
    explicit ThemeBell(ca_context* context) : context_(context) {}
    ~ThemeBell() override { ca_context_destroy(context_); }
    ThemeBell(const ThemeBell&) = delete;
    ThemeBell& operator=(const ThemeBell&) = delete;

    bool ring() override {
        return ca_context_play(context_, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION,
                               "Bell", nullptr) == CA_SUCCESS;
    }

private:
    ca_context* context_;
};

} // namespace
} // namespace platform

extern "C" Q_DECL_EXPORT platform::Bell* yomirin_open_bell() {
    ca_context* context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS)
        return nullptr;
    ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Yomirin", nullptr);
    return new platform::ThemeBell(context);
}
