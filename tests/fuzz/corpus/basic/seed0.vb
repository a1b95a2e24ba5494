Select Case 3
  Case 1, 2
    x = 1
  Case 3 To 5
    x = 2
  Case Else
    x = 3
End Select
