#pragma once
// The exports of hiddriver.dll as the monitor binds them: plain C calling
// convention, bound by name. The real driver and the emulated keyboard both
// implement exactly these. No platform header: a window handle travels as void*.

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define HIDDRIVER_CALL __cdecl
#else
#define HIDDRIVER_CALL
#endif

typedef void(HIDDRIVER_CALL* Set_VIDPID_fn)(int vendorId, int productId);
// From now on the library posts keyEventMessage (wParam event code, lParam key
// data) and deviceChangeMessage (wParam 1 arrived, 0 removed) to `window`.
typedef void(HIDDRIVER_CALL* Open_DevMonitor_fn)(void* window, unsigned keyEventMessage,
                                                 unsigned deviceChangeMessage);
typedef void(HIDDRIVER_CALL* Close_DevMonitor_fn)(void);
typedef void(HIDDRIVER_CALL* Open_FeatureDevice_fn)(void);
typedef void(HIDDRIVER_CALL* Close_FeatureDevice_fn)(void);
// Nonzero when the keyboard is present and open.
typedef int(HIDDRIVER_CALL* Open_ReportDevice_fn)(void);
typedef void(HIDDRIVER_CALL* Close_ReportDevice_fn)(void);
// 8-byte feature command; nonzero when it was sent.
typedef int(HIDDRIVER_CALL* SetFeature_fn)(unsigned char* buffer, int length);
// Replaces the 8 bytes of `buffer` with the keyboard's answer; nonzero on success.
typedef int(HIDDRIVER_CALL* GetFeature_fn)(unsigned char* buffer, int length);
// 64-byte output report; nonzero when it was sent.
typedef int(HIDDRIVER_CALL* WriteUSB_fn)(unsigned char* buffer, int length);
// Bound, never called: input arrives as keyEventMessage posts.
typedef int(HIDDRIVER_CALL* ReadUSB_fn)(unsigned char* buffer, int length);

#ifdef __cplusplus
}
#endif
