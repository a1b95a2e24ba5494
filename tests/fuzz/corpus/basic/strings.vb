' Texts built in loops: a list of numbers, a text reversed, a row of stars.
Dim s As String, r As String
s = ""
For i = 1 To 10
  If i > 1 Then s = s & ","
  s = s & i
Next
ShowMessage(s)
r = ""
For i = Length(s) To 1 Step -1
  r = r & Copy(s, i, 1)
Next
ShowMessage(r)
s = ""
Do While Length(s) < 5
  s = s & "*"
Loop
ShowMessage("[" & s & "]")
