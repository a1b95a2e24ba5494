' Errors caught by the script: a failed conversion, a raised error, and a
' finally block that runs on the way out.
Dim n As Integer
Try
  n = StrToInt("12a")
  ShowMessage("not reached")
Catch
  ShowMessage("caught: " & ExceptionMessage)
End Try
Try
  Try
    RaiseException("boom")
  Finally
    ShowMessage("cleanup")
  End Try
Catch
  ShowMessage("caught: " & ExceptionMessage)
End Try
