// Recursive functions: factorial and Fibonacci numbers.
function Fact(n: Integer): Integer;
begin
  if n < 2 then
    Result := 1
  else
    Result := n * Fact(n - 1);
end;

function Fib(n: Integer): Integer;
begin
  if n < 2 then
    Result := n
  else
    Result := Fib(n - 1) + Fib(n - 2);
end;

begin
  ShowMessage(Fact(10));
  ShowMessage(Fib(15));
end.
