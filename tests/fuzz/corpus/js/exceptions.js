// Errors caught by the script: a failed conversion, a raised error, and a
// finally block that runs on the way out.
var n;
try {
  n = StrToInt("12a");
  ShowMessage("not reached");
} except {
  ShowMessage("caught: " + ExceptionMessage);
}
try {
  try {
    RaiseException("boom");
  } finally {
    ShowMessage("cleanup");
  }
} except {
  ShowMessage("caught: " + ExceptionMessage);
}
