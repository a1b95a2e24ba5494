' Recursive functions: factorial and Fibonacci numbers.
Function Fact(n As Integer) As Integer
  If n < 2 Then
    Fact = 1
  Else
    Fact = n * Fact(n - 1)
  End If
End Function

Function Fib(n As Integer) As Integer
  If n < 2 Then Return n
  Return Fib(n - 1) + Fib(n - 2)
End Function

ShowMessage(Fact(10))
ShowMessage(Fib(15))
