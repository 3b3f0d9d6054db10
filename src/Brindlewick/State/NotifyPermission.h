#pragma once

// Whether alerts may be shown as desktop notifications.
enum class NotifyPermission { notAsked, allowed, denied };
