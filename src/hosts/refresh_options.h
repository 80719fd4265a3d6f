#pragma once

namespace tarnwick {

// What the host window's cycles take from the options the operator sets on
// the debug page.
class RefreshOptions {
  public:
    virtual ~RefreshOptions() = default;
    // chkPrintGs: a refresh traces the whole store after its reads.
    virtual bool TraceStoreAfterRefresh() const = 0;
    // chkAutoRefresh: choosing another page refreshes it.
    virtual bool RefreshOnPageChange() const = 0;
};

}  // namespace tarnwick
