n = tonumber(os.getenv("BENCH_N")) or 27
function fib(k)
  if k < 2 then return k end
  return fib(k - 1) + fib(k - 2)
end
print(fib(n))
