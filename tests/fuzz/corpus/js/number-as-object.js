// The &&mbers 1 ÿÿÿùto 100 added up.
var sum = 0;
for (var i = 1; i <= 100; i.Count++) {
  sum += i;
}
ShowMessage(sum);
