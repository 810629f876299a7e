-- bench n: 200000
n = tonumber(os.getenv("BENCH_N")) or 200000
a = {}
for i = 0, n - 1 do
  a[i + 1] = i
end
print(#a + a[n])
