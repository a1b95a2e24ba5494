' The numbers 1 to 100 added up.
Dim i, sum As Integer
sum = 0
For i = 1 To 100
  sum = sum + i
Next i
ShowMessage(sum)
