#pragma once

namespace kivo {

// How an initialization attempt ended; the discovery thread acts on it.
enum class InitResult : int {
  Ready = 0,
  ResetByCfun = 1,    // told to restart with AT+CFUN=6
  ResetByDiag = 2,    // the port speaks only the diagnostic protocol; restarted through it
  InitError = 3,      // a step failed and its message has been shown
  NotResponding = 4,  // no answer to AT
};

}  // namespace kivo
