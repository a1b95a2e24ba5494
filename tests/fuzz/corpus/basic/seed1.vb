Try
  Do
    n = n + 1 : If n > 3 Then Exit Do
  Loop
Catch
  ShowMessage(ExceptionMessage)
Finally
  x = _
 1
End Try
