// Recursive functions: factorial and Fibonacci numbers.
function Fact(n) {
  if (n < 2) return 1;
  return n * Fact(n - 1);
}

function Fib(n) {
  if (n < 2) return n;
  return Fib(n - 1) + Fib(n - 2);
}

ShowMessage(Fact(10));
ShowMessage(Fib(15));
